// Play Pelko or analyse with it. The engine runs in its Worker and speaks UCI
// as with any GUI; chess.js keeps the game (legal moves, SAN, PGN).
import { Chessground } from 'chessground';
import { Chess, DEFAULT_POSITION, validateFen } from 'chess.js';
import 'chessground/assets/chessground.base.css';
import 'chessground/assets/chessground.brown.css';
import 'chessground/assets/chessground.cburnett.css';
import './style.css';

const $ = id => document.getElementById(id);
const COLOURS = { w: 'white', b: 'black' };
const NAMES = { w: 'White', b: 'Black' };
const DRAWS = [['isStalemate', 'stalemate'], ['isInsufficientMaterial', 'insufficient material'],
  ['isThreefoldRepetition', 'threefold repetition'], ['isDrawByFiftyMoves', 'the fifty-move rule']];

let startFen = DEFAULT_POSITION;
let chess = new Chess();
let game = null;  // the game against the engine: { human, clock, inc, since, result, reason }
let analysing = false;
let orientation = 'white';
let note = '';    // the last answer worth keeping on the status line
let engineName = 'Pelko 2';
// The searches asked for, oldest first, each until its bestmove; a cancelled
// one has no `done`, and its lines are ignored.
const searches = [];

const board = Chessground($('board'), {
  movable: { free: false, showDests: true, events: { after: userMove } },
  premovable: { enabled: false },
  animation: { duration: 150 },
});

const engine = new Worker('pelko-worker.js');
engine.onmessage = ({ data }) => hear(String(data).trim().split(/\s+/));
engine.onerror = () => { $('engine').textContent = 'the engine has stopped with an error'; };
engine.postMessage('uci');

function hear(words) {
  const search = searches[0];
  if (words[0] === 'id' && words[1] === 'name') {
    engineName = words.slice(2).join(' ');
    $('engine').textContent = engineName;
  } else if (words[0] === 'info' && searches.length === 1 && search.done) {
    report(words, search.fen);
  } else if (words[0] === 'bestmove' && search) {
    searches.shift();
    search.done?.(words[1], search.fen);
    show();
  }
}

function think(go, done) {
  const moves = chess.history({ verbose: true }).map(move => move.lan).join(' ');
  const start = startFen === DEFAULT_POSITION ? 'startpos' : `fen ${startFen}`;
  engine.postMessage(`position ${start}${moves && ` moves ${moves}`}`);
  engine.postMessage(go);
  searches.push({ fen: chess.fen(), done });
  note = '';
  for (const id of ['depth', 'score', 'nps', 'best']) $(id).textContent = '…';
}

function cancel() {
  if (!searches.some(search => search.done)) return;
  for (const search of searches) search.done = null;
  engine.postMessage('stop');
}

// An engine's line of UCI moves in SAN, as far as it is legal.
function san(fen, moves) {
  const line = new Chess(fen);
  const sans = [];
  try {
    for (const move of moves) sans.push(line.move(move).san);
  } catch {
    // the rest of the line stays unread
  }
  return sans.join(' ') || '–';
}

// An info line: the score is shown from White's side, as boards are read.
function report(words, fen) {
  const after = key => words.indexOf(key) + 1 || words.length;
  const value = key => words[after(key)];
  if (value('depth')) $('depth').textContent = value('depth');
  if (value('nps')) $('nps').textContent = `${Math.round(value('nps') / 1000)} kN/s`;
  const score = Number(words[after('score') + 1]) * (fen.split(' ')[1] === 'w' ? 1 : -1);
  if (value('score') === 'mate') $('score').textContent = `#${score}`;
  else if (value('score') === 'cp') $('score').textContent = `${score > 0 ? '+' : ''}${(score / 100).toFixed(2)}`;
  if (value('pv')) $('best').textContent = san(fen, words.slice(after('pv')));
}

function userMove(from, to) {
  const promoting = chess.moves({ square: from, verbose: true }).some(move => move.to === to && move.promotion);
  if (!promoting) return play({ from, to });
  const picker = $('promotion');
  picker.hidden = false;
  picker.onclick = ({ target }) => {
    if (!target.dataset.piece) return;
    picker.hidden = true;
    play({ from, to, promotion: target.dataset.piece });
  };
}

function play(move) {
  try {
    chess.move(move);
  } catch {
    return show();  // an illegal move is taken back on the board
  }
  moved();
}

function moved() {
  note = '';
  if (game && !game.result) {
    const mover = chess.turn() === 'w' ? 'b' : 'w';
    game.clock[mover] += game.inc - (performance.now() - game.since);
    game.since = performance.now();
    next();
  } else if (analysing) {
    cancel();
    think('go infinite', analysed);
  }
  show();
}

// The game goes on: its end, or the engine's turn with both clocks as they stand.
function next() {
  if (chess.isCheckmate()) return end(chess.turn() === 'w' ? '0-1' : '1-0', `${NAMES[chess.turn() === 'w' ? 'b' : 'w']} mates`);
  const draw = DRAWS.find(([test]) => chess[test]());
  if (draw) return end('1/2-1/2', `drawn by ${draw[1]}`);
  if (chess.turn() === game.human) return;
  const { w, b } = game.clock;
  think(`go wtime ${Math.round(w)} btime ${Math.round(b)} winc ${game.inc} binc ${game.inc}`, move => {
    try {
      chess.move(move);
    } catch {
      return end(game.human === 'w' ? '1-0' : '0-1', `the engine played an illegal move (${move})`);
    }
    moved();
  });
}

function end(result, reason) {
  Object.assign(game, { result, reason });
  chess.setHeader('Result', result);
  cancel();
}

function analysed(move, fen) {
  analysing = false;
  note = `Best move: ${san(fen, [move])}`;
  $('best').textContent = san(fen, [move]);
}

function left(colour) {
  const running = chess.turn() === colour && !game.result;
  return game.clock[colour] - (running ? performance.now() - game.since : 0);
}

// m:ss, and tenths in the last 20 seconds.
function clockText(ms) {
  const tenths = Math.floor(Math.max(0, ms) / 100);
  const text = `${Math.floor(tenths / 600)}:${String(Math.floor(tenths / 10) % 60).padStart(2, '0')}`;
  return tenths < 200 ? `${text}.${tenths % 10}` : text;
}

function tick() {
  if (game && !game.result && left(chess.turn()) <= 0) {
    end(chess.turn() === 'w' ? '0-1' : '1-0', `${chess.turn() === game.human ? 'you' : 'the engine'} lost on time`);
    return show();
  }
  const bottom = orientation[0];
  for (const [id, colour] of [['clock-bottom', bottom], ['clock-top', bottom === 'w' ? 'b' : 'w']]) {
    const name = game ? (colour === game.human ? 'You' : 'Pelko') : '';
    $(id).querySelector('.name').textContent = `${NAMES[colour]}${name && ` · ${name}`}`;
    $(id).querySelector('.time').textContent = game ? clockText(left(colour)) : '';
    $(id).classList.toggle('running', Boolean(game && !game.result && chess.turn() === colour));
  }
}

function show() {
  const playing = game && !game.result;
  const thinking = searches.some(search => search.done);
  const last = chess.history({ verbose: true }).at(-1);
  const movable = !playing ? 'both' : chess.turn() === game.human ? COLOURS[game.human] : undefined;
  const dests = new Map();
  for (const move of chess.moves({ verbose: true })) dests.set(move.from, [...(dests.get(move.from) ?? []), move.to]);
  board.set({
    fen: chess.fen(), orientation, turnColor: COLOURS[chess.turn()], check: chess.inCheck(),
    lastMove: last && [last.from, last.to], movable: { color: movable, dests },
  });
  $('moves').textContent = chess.pgn().replace(/^\[.*\]\n/gm, '').replace(/\s*\*$/, '').trim();
  if (document.activeElement !== $('fen')) $('fen').value = chess.fen();
  $('analyse').disabled = playing || analysing;
  $('stop').disabled = !thinking;
  $('thinking').hidden = !thinking;
  $('status').textContent = thinking ? (analysing ? 'Analysing…' : 'Pelko is thinking…')
    : note || (game?.result && `${game.result.replace('1/2', '½')}: ${game.reason}`)
      || (playing ? 'Your move' : `${NAMES[chess.turn()]} to move`);
  tick();
}

$('new-game').onclick = () => {
  cancel();
  analysing = false;
  chess = new Chess(startFen);
  const [base, inc] = $('time').value.split('+').map(seconds => seconds * 1000);
  const human = $('side').value;
  game = { human, clock: { w: base, b: base }, inc, since: performance.now(), result: null };
  orientation = COLOURS[human];
  chess.setHeader('White', human === 'w' ? 'You' : engineName);
  chess.setHeader('Black', human === 'b' ? 'You' : engineName);
  next();
  show();
};
$('analyse').onclick = () => {
  analysing = true;
  think('go infinite', analysed);
  show();
};
$('stop').onclick = () => engine.postMessage('stop');
$('flip').onclick = () => {
  orientation = orientation === 'white' ? 'black' : 'white';
  show();
};
$('copy').onclick = async () => {
  try {
    await navigator.clipboard.writeText(chess.pgn());
    note = 'PGN copied';
  } catch {
    note = 'The clipboard is only open to pages served over https or from this machine';
  }
  show();
};
$('fen-form').onsubmit = event => {
  event.preventDefault();
  const fen = $('fen').value.trim() || DEFAULT_POSITION;
  const check = validateFen(fen);
  if (!check.ok) {
    note = check.error;
    return show();
  }
  cancel();
  analysing = false;
  game = null;
  startFen = fen;
  chess = new Chess(fen);
  $('fen').blur();
  show();
};
setInterval(tick, 100);
show();
