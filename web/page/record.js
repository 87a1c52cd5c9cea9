// The moves of the game from its start position, and the one shown. chess.js
// keeps the rules, SAN, headers and PGN.
import { Chess, validateFen } from 'chess.js';

export class Record {
  constructor(chess = new Chess()) {
    this.chess = chess;
    this.moves = chess.history({ verbose: true });
    this.start = this.moves[0]?.before ?? chess.fen();
    this.ply = this.moves.length;
  }

  // The position shown, replayed from the start so that repetitions count.
  shown() {
    const chess = new Chess(this.start);
    for (const { from, to, promotion } of this.moves.slice(0, this.ply)) chess.move({ from, to, promotion });
    return chess;
  }

  atEnd() {
    return this.ply === this.moves.length;
  }

  // A move from the position shown; the moves after it go. Null if illegal.
  play(move) {
    while (this.moves.length > this.ply) this.undo();
    try {
      this.moves.push(this.chess.move(move));
    } catch {
      return null;
    }
    this.ply = this.moves.length;
    return this.moves.at(-1);
  }

  undo() {
    this.chess.undo();
    this.ply = Math.min(this.ply, this.moves.length - 1);
    return this.moves.pop();
  }
}

// A Record from a FEN or a PGN (nothing is the starting position), or why not.
export function parse(text) {
  if (/^\S*\//.test(text)) {
    const check = validateFen(text);
    return check.ok ? new Record(new Chess(text)) : check.error;
  }
  const chess = new Chess();
  try {
    chess.loadPgn(text);
  } catch (error) {
    return `Neither FEN nor PGN: ${error.message}`;
  }
  return new Record(chess);
}
