import type { Chess } from 'chess.js';
import type { Engine } from './index.js';

/** A mate in n plies scores MATE - n from the mover's side, a mate against it -(MATE - n). */
export const MATE: number;

export interface Level {
  /** 1 (a beginner) to 8 (the engine itself). */
  level: number;
  /** The measured rating on the CCRL 40/4 scale (an engine rating, not a human one), by bench/levels.py. */
  rating: number;
  /** The depth of each move's search ("go depth" in the position after it); none at level 8. */
  depth?: number;
  /** The loss in centipawns that divides a move's weight by e. */
  softness?: number;
  /** No move that loses more centipawns than this against the best is chosen, unless in a blunder. */
  maxLoss?: number;
  /** The share of moves drawn evenly among all that lose at most blunderLoss. */
  blunder?: number;
  blunderLoss?: number;
  /** Never misses a mate in one or a free recapture (levels 4 to 7). */
  safeguards?: boolean;
}

/** Levels 1 to 8, LEVELS[0] being level 1. */
export const LEVELS: readonly Level[];

/** A seeded random generator: floats in [0, 1), the same sequence for the same seed. */
export function createRandom(seed: number | string): () => number;

export interface ScoredMove {
  /** In coordinate notation, such as 'e2e4' or 'e7e8q'. */
  move: string;
  /** Centipawns from the mover's side; a mate as ±(MATE - plies). */
  score: number;
}

/**
 * The level's choice among scored moves. position, a chess.js Chess at the position to move whose
 * history ends with the opponent's last move, lets the safeguards of levels 4 to 7 find every mate in
 * one and free recapture (taking back where the opponent has just captured, when that wins material or
 * cannot be answered by another capture there); without it they see only the mates in one among the scores.
 * When the best move wins by 2000 centipawns or more, every level plays with its safeguards, without
 * blunders and never a move that scores 0 or less: a lead that large is played out.
 */
export function chooseMove(scored: ScoredMove[], level: number, random: () => number, position?: Chess): string;

export interface LevelOptions {
  /** 1 to 8; level 8, or none, is the engine itself. */
  level?: number;
  /** Game k of the session ("ucinewgame", or "position startpos" after a game) plays with a seed
   * drawn from this one, so that a session can be replayed; without it, seeds are random. */
  seed?: number | string;
}

/**
 * An Engine that plays UCI at the level: each "go" with a clock, a move time, a depth or nothing scores
 * every legal move with a short search of its own within the move's time, then chooses at random,
 * weighted by the loss against the best move. Its searches stay hidden; an info line gives the chosen
 * move's score before "bestmove". The first "isready" waits for a warm-up move played unseen; after
 * it "stop" and "isready" are answered at once. "go infinite" and "go ponder" are the engine's own.
 */
export function withLevel(engine: Engine, options?: LevelOptions): Engine;
