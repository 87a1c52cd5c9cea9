// Play Pelko or analyse with it. The engine runs in its Worker and speaks UCI
// as with any GUI; the modules beside this one keep the board and its moves,
// the clocks, the searches, their analysis and the page's storage.
import { Chess } from 'chess.js';
import { LEVELS } from 'pelko/levels';
import * as analysis from './analysis.js';
import { createBoard } from './board.js';
import { clockText, createClock, left, press, run } from './clock.js';
import { Record, parse } from './record.js';
import * as search from './search.js';
import { play as sound } from './sound.js';
import * as storage from './storage.js';
import './style.css';

const $ = id => document.getElementById(id);
const COLOURS = { w: 'white', b: 'black' };
const NAMES = { w: 'White', b: 'Black' };
const DRAWS = [['isStalemate', 'stalemate'], ['isInsufficientMaterial', 'insufficient material'],
  ['isThreefoldRepetition', 'threefold repetition'], ['isDrawByFiftyMoves', 'the fifty-move rule']];

const stored = storage.load();
const restored = parse(stored.pgn ?? '');
let record = typeof restored === 'string' ? new Record() : restored;
record.ply = Math.min(stored.ply ?? record.ply, record.moves.length);
// The game against the engine: { human, control, level, seed, clock, result, reason, from }; null on the
// free board. A game stored without a level was played at full strength, level 8.
let game = stored.game ?? null;
let orientation = stored.orientation ?? 'white';
let analysing = false;
let note = '';  // the last answer worth keeping on the status line, until the next change
let engineName = 'Pelko 2';
$('sound').checked = stored.sound ?? true;
$('reveal').checked = stored.reveal ?? false;
// Each level with its rating (engine ratings: its label's title and the hint say so).
$('level').replaceChildren(...LEVELS.map(({ level, rating }) => new Option(`${level} · ${rating}`, level)));
if (game) {
  game.level ??= 8;
  [$('side').value, $('time').value] = [game.human, game.control];
  search.play(game.level, game.seed);
}
$('level').value = game?.level ?? 4;  // at first the lowest level that sees every mate in one and free recapture

const draw = createBoard({ move: userMove, goTo });
search.connect({
  name: name => { $('engine').textContent = engineName = name; },
  info: words => { analysis.hear(words); show(); },
  failed: message => { $('engine').textContent = `the engine has stopped with an error: ${message}`; },
});

const playing = () => Boolean(game && !game.result);

// The result and why, if the game is over in `chess`'s position.
function ending(chess) {
  const mover = chess.turn();
  if (chess.isCheckmate()) return [mover === 'w' ? '0-1' : '1-0', `${NAMES[mover === 'w' ? 'b' : 'w']} mates`];
  const drawn = DRAWS.find(([test]) => chess[test]());
  return drawn && ['1/2-1/2', `drawn by ${drawn[1]}`];
}

function userMove(move) {
  if (game?.result || (playing() && record.chess.turn() !== game.human)) return show();
  const played = record.play(move);
  if (!played) return show();  // an illegal move is taken back on the board
  moved(played);
}

function moved(played) {
  if ($('sound').checked) sound(played);
  if (playing()) {
    press(game.clock, played.color);
    next();
  }
  changed();
}

// After any change of position or game: the old note goes, analysis follows the position shown.
function changed() {
  note = '';
  if (analysing) analyse();
  else if (!playing()) analysis.reset();
  save();
}

// Keeps the page's state for a reload, and shows it.
function save() {
  storage.save({ pgn: record.chess.pgn(), ply: record.ply, game, orientation,
    sound: $('sound').checked, reveal: $('reveal').checked });
  show();
}

function goTo(ply) {
  record.ply = ply;
  changed();
}

// A search from the position after `ply` moves.
function think(ply, go, done, inGame) {
  const moves = record.moves.slice(0, ply);
  const fen = moves.at(-1)?.after ?? record.start;
  search.think(record.start, moves.map(move => move.lan), go, move => done(move, fen), inGame);
  analysis.reset(fen);
}

// The game goes on: its end, or the engine's turn with both clocks as they stand.
function next() {
  const over = ending(record.chess);
  if (over) return end(...over);
  if (record.chess.turn() === game.human) return;
  const [w, b] = ['w', 'b'].map(colour => Math.round(left(game.clock, colour)));
  think(record.moves.length, `go wtime ${w} btime ${b} winc ${game.clock.inc} binc ${game.clock.inc}`, move => {
    record.ply = record.moves.length;
    const played = record.play(move);
    if (played) return moved(played);
    end(game.human === 'w' ? '1-0' : '0-1', `Pelko played an illegal move (${move})`);
    changed();
  }, true);
}

function end(result, reason) {
  Object.assign(game, { result, reason });
  run(game.clock, null);
  record.chess.setHeader('Result', result);
  search.cancel();
}

function analyse() {
  search.cancel();
  analysing = true;
  think(record.ply, 'go infinite', (move, fen) => {
    analysing = false;
    note = `Best move: ${analysis.san(fen, [move])}`;
    show();
  });
}

// A new start: the game or position loaded is shown from the top of the board on a phone.
function restart(newRecord, newGame) {
  search.cancel();
  search.newGame();
  analysing = false;
  record = newRecord;
  game = newGame;
  analysis.reset();
  if (game) {
    search.play(game.level, game.seed);
    next();
  }
  changed();
  if ($('play').getBoundingClientRect().top < 0) $('play').scrollIntoView();
}

function tick() {
  const turn = record.chess.turn();
  if (playing() && left(game.clock, turn) <= 0) {
    end(turn === 'w' ? '0-1' : '1-0', `${NAMES[turn]} lost on time`);
    return changed();
  }
  const bottom = orientation[0];
  for (const [id, colour] of [['clock-bottom', bottom], ['clock-top', bottom === 'w' ? 'b' : 'w']]) {
    const name = game ? (colour === game.human ? 'You' : `Pelko level ${game.level}`) : '';
    $(id).querySelector('.name').textContent = `${NAMES[colour]}${name && ` · ${name}`}`;
    $(id).querySelector('.time').textContent = game ? clockText(left(game.clock, colour)) : '';
    $(id).classList.toggle('running', playing() && turn === colour);
  }
}

function show() {
  const chess = record.shown();
  const live = playing();
  const thinking = search.busy();
  const over = ending(chess);
  const mover = !game ? 'both' : live && record.atEnd() && chess.turn() === game.human ? COLOURS[game.human] : undefined;
  const shapes = analysis.show(chess.fen(), !live || $('reveal').checked);
  draw(record, chess, { orientation, mover, shapes });
  $('bar').classList.toggle('flipped', orientation === 'black');
  if (document.activeElement !== $('fen')) $('fen').value = chess.fen();
  $('analyse').disabled = live || analysing || !chess.moves().length;
  $('stop').disabled = !thinking;
  $('take-back').disabled = !live || !record.moves.slice(game.from).some(move => move.color === game.human);
  $('resign').disabled = !live;
  $('thinking').hidden = !thinking;
  const [result, reason] = game?.result ? [game.result, game.reason] : over ?? [];
  $('status').textContent = thinking ? (analysing ? 'Analysing…' : 'Pelko is thinking…')
    : note || (result && `${result.replace(/1\/2/g, '½')}: ${reason}`) || (live ? 'Your move' : `${NAMES[chess.turn()]} to move`);
  tick();
}

$('new-game').onclick = () => {
  const [base, inc] = $('time').value.split('+').map(seconds => seconds * 1000);
  const human = $('side').value;
  const level = Number($('level').value);
  const seed = crypto.getRandomValues(new Uint32Array(1))[0];  // one a game: games differ, and a seed replays its game
  // From an earlier position shown in the list, to play out the line explored; otherwise from the start.
  const chess = record.atEnd() ? new Chess(record.start) : record.shown();
  // The level in the engine's name, which every PGN reader shows, and the seed for a replay.
  chess.setHeader('White', human === 'w' ? 'You' : `${engineName} level ${level}`);
  chess.setHeader('Black', human === 'b' ? 'You' : `${engineName} level ${level}`);
  if (level < 8) chess.setHeader('LevelSeed', String(seed));
  orientation = COLOURS[human];
  const clock = createClock(base, inc);
  run(clock, chess.turn());
  // `from`: the moves before it are not the game's, and take back stops there.
  restart(new Record(chess), { human, control: $('time').value, level, seed, clock, result: null, from: chess.history().length });
};
$('take-back').onclick = () => {
  search.cancel();
  for (let move; move?.color !== game.human;) {
    move = record.undo();
    game.clock[move.color] -= game.clock.inc;  // the increment it earned goes with it
  }
  record.ply = record.moves.length;
  run(game.clock, game.human);
  changed();
};
$('resign').onclick = () => {
  end(game.human === 'w' ? '0-1' : '1-0', `${NAMES[game.human]} resigns`);
  changed();
};
$('analyse').onclick = analyse;
$('stop').onclick = search.stop;
$('flip').onclick = () => {
  orientation = orientation === 'white' ? 'black' : 'white';
  save();
};
$('sound').onchange = $('reveal').onchange = save;
$('copy').onclick = async () => {
  try {
    await navigator.clipboard.writeText(record.chess.pgn());
    note = 'PGN copied';
  } catch {
    note = 'The clipboard is only open to pages served over https or from this machine';
  }
  show();
};
$('fen').onkeydown = event => {
  if (event.key === 'Enter' && !event.shiftKey) {
    event.preventDefault();
    $('fen-form').requestSubmit();
  }
};
$('fen-form').onsubmit = event => {
  event.preventDefault();
  const loaded = parse($('fen').value.trim());
  if (typeof loaded === 'string') {
    note = loaded;
    return show();
  }
  $('fen').blur();
  restart(loaded, null);
};
setInterval(tick, 100);
if (playing()) next();
show();
