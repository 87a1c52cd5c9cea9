// What the engine says of a position: depth, score, speed and preferred move in
// the panel, the score on the bar beside the board, the move as an arrow.
import { Chess } from 'chess.js';

const $ = id => document.getElementById(id);
let info = null;  // { fen, depth, nps, cp or mate from White's side, pv }

// A new position: nothing known yet, and '…' while a search for it runs.
export function reset(fen) {
  info = fen ? { fen } : null;
}

export function hear(words) {
  const after = key => words.indexOf(key) + 1 || words.length;
  const value = key => words[after(key)];
  const sign = info.fen.split(' ')[1] === 'w' ? 1 : -1;
  if (value('depth')) info.depth = value('depth');
  if (value('nps')) info.nps = Math.round(value('nps') / 1000);
  if (value('score') === 'cp') Object.assign(info, { cp: sign * words[after('score') + 1], mate: undefined });
  if (value('score') === 'mate') info.mate = sign * words[after('score') + 1];
  if (value('pv')) info.pv = words.slice(after('pv'));
}

// A line of UCI moves in SAN, as far as it is legal.
export function san(fen, moves) {
  const line = new Chess(fen);
  const sans = [];
  try {
    for (const move of moves) sans.push(line.move(move).san);
  } catch {
    // the rest of the line stays unread
  }
  return sans.join(' ') || '–';
}

// The score as White's winning chance, 0 to 1.
function share({ cp, mate }) {
  if (mate !== undefined) return mate > 0 ? 1 : 0;
  return 1 / (1 + 10 ** (-cp / 400));
}

// Fills the panel and the bar for the position shown (hidden: dashes) and gives the arrow.
export function show(fen, visible) {
  const known = visible ? info : null;
  const blank = known ? '…' : '–';
  const scored = known && (known.cp !== undefined || known.mate !== undefined);
  $('depth').textContent = known?.depth ?? blank;
  $('nps').textContent = known?.nps ? `${known.nps} kN/s` : blank;
  $('score').textContent = !scored ? blank : known.mate !== undefined ? `#${known.mate}`
    : `${known.cp > 0 ? '+' : ''}${(known.cp / 100).toFixed(2)}`;
  $('best').textContent = known?.pv ? san(known.fen, known.pv) : blank;
  $('bar').classList.toggle('off', !scored);
  $('bar-fill').style.height = `${scored ? share(known) * 100 : 50}%`;
  const move = known?.fen === fen && known.pv?.[0];
  return move ? [{ orig: move.slice(0, 2), dest: move.slice(2, 4), brush: 'green' }] : [];
}
