// Levels 1 (a beginner) to 8 (full strength), played by a layer around the
// unchanged engine: every legal move is scored with a short search of its own,
// limited by depth so that a level is as strong on a phone as on a desktop,
// and the move is drawn at random with weights that fall as its loss against
// the best move grows. A level's seeded random numbers make each game its own
// and let a test replay one.
import { Chess } from 'chess.js';

// A mate in n plies scores MATE - n from the mover's side, a mate against it -(MATE - n).
export const MATE = 100000;

// A lead of this many centipawns is played out: a beginner who is a queen and
// a rook up neither throws the game away nor walks about until it is drawn.
const WINNING = 2000;

// depth: the search of each move ("go depth" in the position after it);
// softness: the loss in centipawns that divides a move's weight by e;
// maxLoss: no move that loses more is chosen, unless in a blunder;
// blunder: the share of moves drawn evenly among all within blunderLoss;
// safeguards: never miss a mate in one or a free recapture.
// rating: the CCRL 40/4 rating that bench/levels.py measured. Level 8 is the engine itself.
export const LEVELS = [
  { level: 1, rating: -500, depth: 1, softness: 300, maxLoss: 1200, blunder: 0.5, blunderLoss: Infinity, safeguards: false },
  { level: 2, rating: 68, depth: 1, softness: 200, maxLoss: 700, blunder: 0.25, blunderLoss: Infinity, safeguards: false },
  { level: 3, rating: 277, depth: 1, softness: 150, maxLoss: 600, blunder: 0.2, blunderLoss: 900, safeguards: false },
  { level: 4, rating: 769, depth: 2, softness: 80, maxLoss: 300, blunder: 0.1, blunderLoss: 600, safeguards: true },
  { level: 5, rating: 1121, depth: 2, softness: 50, maxLoss: 150, blunder: 0.05, blunderLoss: 350, safeguards: true },
  { level: 6, rating: 1347, depth: 3, softness: 35, maxLoss: 100, blunder: 0.03, blunderLoss: 250, safeguards: true },
  { level: 7, rating: 1542, depth: 4, softness: 20, maxLoss: 60, blunder: 0.015, blunderLoss: 150, safeguards: true },
  { level: 8, rating: 1991 },
];

// mulberry32: 32 bits of state, a float in [0, 1) a call. A text seed is hashed (FNV-1a).
export function createRandom(seed) {
  let state = typeof seed === 'string'
    ? [...seed].reduce((hash, char) => Math.imul(hash ^ char.charCodeAt(0), 16777619), 2166136261)
    : Number(seed) >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) | 0;
    let t = Math.imul(state ^ (state >>> 15), 1 | state);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const VALUE = { p: 1, n: 3, b: 3, r: 5, q: 9, k: 99 };

// The moves among legal that take back on the square where the opponent has
// just captured and either win material or cannot be answered by another
// capture there. (chess.js gives the last move by taking it back.)
function freeRecaptures(chess, legal) {
  const last = chess.undo();
  if (!last) return [];
  chess.move(last);
  return last.captured ? legal.filter(move => {
    if (move.to !== last.to) return false;
    if (VALUE[move.captured] > VALUE[move.piece]) return true;
    chess.move(move);
    const answered = chess.moves({ verbose: true }).some(reply => reply.to === move.to);
    chess.undo();
    return !answered;
  }).map(move => move.lan) : [];
}

// The choice of a move among scored ones ({ move: 'e2e4', score } in
// centipawns from the mover's side, mates as ±(MATE - plies)). position, a
// chess.js Chess at the position to move whose history ends with the
// opponent's last move, lets the safeguards of levels 4 to 7 see every mate in
// one and free recapture, scored or not; without it they see the mates in one
// among the scores only. When the best move wins by WINNING or more, every
// level plays with its safeguards, no blunder and no move that gives up the
// win. Two random numbers a call, so a replay stays in step.
export function chooseMove(scored, level, random, position) {
  const { softness, maxLoss, blunder, blunderLoss, safeguards } = LEVELS[level - 1] ?? LEVELS[7];
  const draw = random(), pick = random();
  const best = Math.max(...scored.map(({ score }) => score));
  const winning = best >= WINNING;
  let candidates = winning ? scored.filter(({ score }) => score > 0) : scored;
  if (safeguards || winning) {
    const legal = position?.moves({ verbose: true });
    const mates = legal ? legal.filter(({ san }) => san.endsWith('#')).map(({ lan }) => lan)
      : scored.filter(({ score }) => score >= MATE - 1).map(({ move }) => move);
    if (mates.length) return mates[Math.floor(pick * mates.length)];
    const recaptures = legal ? freeRecaptures(position, legal) : [];
    if (recaptures.length) {
      // A free recapture, or a move that its own search finds at least as good.
      const floor = Math.max(...scored.filter(({ move }) => recaptures.includes(move)).map(({ score }) => score));
      if (floor === -Infinity) return recaptures[0];
      candidates = candidates.filter(({ move, score }) => score >= floor || recaptures.includes(move));
    }
  }
  if (!softness) return scored.find(({ score }) => score === best).move;
  const pool = draw < blunder && !winning
    ? candidates.filter(({ score }) => best - score <= blunderLoss).map(({ move }) => ({ move, weight: 1 }))
    : candidates.filter(({ score }) => best - score <= maxLoss)
      .map(({ move, score }) => ({ move, weight: Math.exp((score - best) / softness) }));
  let left = pick * pool.reduce((sum, { weight }) => sum + weight, 0);
  return (pool.find(({ weight }) => (left -= weight) < 0) ?? pool.at(-1)).move;
}

// The side to move's time for this move in milliseconds, Infinity without a
// clock. The increment comes after the move, so the clock alone must hold it.
function budget(words, white) {
  const value = key => (words.includes(key) ? Number.parseInt(words[words.indexOf(key) + 1], 10) || 0 : undefined);
  const moveTime = value('movetime');
  if (moveTime !== undefined) return moveTime - Math.min(100, moveTime / 2);
  const clock = value(white ? 'wtime' : 'btime');
  if (clock === undefined) return Infinity;
  const movesToGo = value('movestogo');
  return Math.min(clock / (movesToGo ? movesToGo + 1 : 25) + 0.75 * (value(white ? 'winc' : 'binc') ?? 0),
    0.4 * clock - 30);
}

// An engine's score line for the side to move after a move, from the side that made it.
function scoreOf(line) {
  const [, kind, text] = / score (cp|mate) (-?\d+)/.exec(line ?? '') ?? [, 'cp', '0'];
  const value = Number(text);
  if (kind === 'cp') return -value;
  return value > 0 ? -(MATE - 2 * value) : MATE - (1 - 2 * value);
}

const uciScore = score => (Math.abs(score) < MATE - 1000 ? `cp ${score}`
  : `mate ${Math.sign(score) * Math.ceil((MATE - Math.abs(score)) / 2)}`);

// An Engine that plays UCI at the level: "go" with a clock, a move time, a
// depth or nothing is answered by the level, whose own searches stay hidden
// (one info line gives the chosen move's score); "go infinite" and "go ponder"
// are the engine's. A first line other than "uci" leaves everything to the
// engine. Level 8, or none, is the engine itself.
export function withLevel(engine, { level, seed } = {}) {
  const settings = LEVELS[level - 1];
  if (!settings?.depth) return engine;
  // Game k of a session plays with the k-th seed drawn from the caller's.
  const seeds = createRandom(seed ?? Math.random() * 2 ** 32);
  let random = createRandom(seeds() * 2 ** 32), played = false;
  const newGame = () => played && ((random = createRandom(seeds() * 2 ** 32)), (played = false));
  const listeners = [];
  const emit = line => listeners.forEach(listener => listener(line));
  const queue = [];     // the caller's lines not yet served
  const searches = [];  // the level's own searches sent to the engine, oldest first
  let mode, position, turn, passing = false, warmed = false, closing, game;

  // The position of a UCI "position" line in chess.js, from the last one
  // when that one's moves begin this one's (as a game goes on).
  function setUp(line) {
    const words = line.trim().split(/\s+/);
    const at = words.includes('moves') ? words.indexOf('moves') : words.length;
    const base = words.slice(0, at).join(' '), moves = words.slice(at + 1);
    const known = game?.base === base && game.moves.every((move, i) => move === moves[i]) ? game.moves.length : 0;
    const chess = known ? game.chess : new Chess(words[1] === 'fen' ? words.slice(2, at).join(' ') : undefined);
    game = undefined;
    for (const move of moves.slice(known)) chess.move({ from: move.slice(0, 2), to: move.slice(2, 4), promotion: move[4] });
    return (game = { base, moves, chess });
  }

  // While the level searches, its info and bestmove lines are its own; the
  // other lines answer the caller's earlier "uci" and "isready".
  engine.onLine(line => {
    const search = searches[0];
    if (search && /^(info|bestmove)\b/.test(line)) {
      if (line.startsWith('bestmove')) {
        searches.shift();
        search.done({ move: line.split(' ')[1], score: search.score });
        pump();
      } else if (line.includes(' score ')) search.score = line;
      return;
    }
    emit(line);
    if (passing && line.startsWith('bestmove')) {
      passing = false;
      pump();
    }
  });

  const search = line => new Promise(done => {
    searches.push({ done });
    engine.send(line);
    engine.send(`go depth ${settings.depth}`);
  });

  function passThrough(line) {
    if (position) engine.send(position);
    engine.send(line);
    passing = true;
  }

  // Scores every legal move, the engine's own choice first and then captures,
  // promotions and checks, until they are all scored or the time is spent. A
  // warm-up plays the start position unseen before the first "isready" is
  // answered: the first searches of a session run several times slower, and
  // that must not fall on a move's clock.
  async function play(line, words, at, warm = false) {
    let base, moves, chess;
    try {
      ({ base, moves, chess } = setUp(warm ? 'position startpos' : position ?? 'position startpos'));
    } catch {
      return passThrough(line);  // a position chess.js does not take: the engine's own move
    }
    const legal = chess.moves({ verbose: true });
    if (!legal.length) return passThrough(line);
    const mine = turn = { chess, scored: [], fallback: legal[0].lan, warm };
    played ||= !warm;
    const time = budget(words, chess.turn() === 'w') - (Date.now() - at);
    if (time < Infinity) mine.timer = setTimeout(finish, Math.max(0, time));
    if (legal.length === 1) return finish();
    const after = more => (moves.length + more.length ? `${base} moves ${[...moves, ...more].join(' ')}` : base);
    const first = (await search(after([]))).move;
    if (turn !== mine) return;
    const promising = move => (move.lan === first ? 1000 : 0) + (move.promotion ? 10 * VALUE[move.promotion] : 0)
      + (move.captured ? 10 * VALUE[move.captured] - VALUE[move.piece] : 0) + (move.san.includes('+') ? 5 : 0);
    mine.fallback = first;
    for (const move of legal.sort((a, b) => promising(b) - promising(a))) {
      chess.move(move);
      const end = move.san.endsWith('#') ? MATE - 1 : chess.isDraw() ? 0 : undefined;
      chess.undo();
      const score = end ?? scoreOf((await search(after([move.lan]))).score);
      if (turn !== mine) return;
      mine.scored.push({ move: move.lan, score });
    }
    finish();
  }

  // Plays the level's choice among the moves scored so far.
  function finish() {
    const mine = turn;
    if (!mine) return;
    turn = undefined;
    clearTimeout(mine.timer);
    if (searches.length) engine.send('stop');
    if (mine.warm) {
      engine.send('isready');
      return pump();
    }
    const { scored, chess, fallback } = mine;
    const move = chooseMove(scored.length ? scored : [{ move: fallback, score: 0 }], level, random, chess);
    const score = scored.find(choice => choice.move === move)?.score;
    if (score !== undefined) emit(`info depth ${settings.depth} score ${uciScore(score)} pv ${move}`);
    emit(`bestmove ${move}`);
    pump();
  }

  function serve({ line, words, at }) {
    if (words[0] === 'go') {
      if (words.includes('infinite') || words.includes('ponder')) passThrough(line);
      else play(line, words, at);
    } else if (words[0] === 'position') {
      if (words[1] === 'startpos' && words.length <= 3) newGame();
      position = line;
    } else if (words[0] === 'ucinewgame') newGame();
    else if (words[0] === 'isready' && !warmed) {
      warmed = true;
      play(line, words, Date.now(), true);
    } else engine.send(line);
  }

  // As in the engine, "isready" and "stop" are served at once during a
  // search and the other lines wait for its best move. A search of the
  // level's that a stop cut short need not end first: the engine answers in
  // order, and its lines go to the searches still waiting, oldest first.
  function pump() {
    while (queue.length) {
      if (turn?.warm) break;  // the warm-up holds every line, "isready" too
      if (turn || passing) {
        const index = queue.findIndex(({ words }) => words[0] === 'isready' || words[0] === 'stop');
        if (index < 0) break;
        const [{ line, words }] = queue.splice(index, 1);
        if (passing) engine.send(line);
        else if (words[0] === 'stop') finish();
        else emit('readyok');
      } else serve(queue.shift());
    }
    if (closing && !queue.length && !turn && !passing) {
      engine.end().then(closing);
      closing = undefined;
    }
  }

  function take(line) {
    const words = line.trim().split(/\s+/);
    if (!words[0] && mode !== 'other') return;
    mode ??= words[0] === 'uci' ? 'uci' : 'other';
    if (mode === 'other') return engine.send(line);
    queue.push({ line, words, at: Date.now() });
    pump();
  }

  return {
    onLine: listener => { listeners.push(listener); },
    onError: listener => engine.onError(listener),
    send: text => String(text).split('\n').forEach(take),
    end: () => (mode === 'other' ? engine.end() : new Promise(resolve => {
      closing = resolve;
      pump();
    })),
    terminate: () => {
      clearTimeout(turn?.timer);
      turn = undefined;
      engine.terminate();
    },
  };
}
