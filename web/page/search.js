// Searches asked of the engine over UCI, one at a time and oldest first, each
// until its bestmove; a cancelled one has no `done`, and its lines are ignored.
// A game's searches go through its level (pelko/levels), which runs searches
// of its own on the engine; analysis goes to the engine, at full strength.
// The engine drops what it reads during a search other than "stop" and
// "isready", and a level answers "stop" before the engine has ended its
// search, so a line is sent only when every "go" sent to the engine, the
// level's too, has had its bestmove: no line is lost, and no bestmove is
// taken for another's.
import { createEngine } from 'pelko';
import { withLevel } from 'pelko/levels';
import { DEFAULT_POSITION } from 'chess.js';

const own = createEngine();
let running = 0;  // searches sent to the engine without their bestmove yet
const engine = { ...own, send: line => { running += /^go\b/.test(line); own.send(line); } };
let player = engine;  // the game's side: the engine itself at full strength, or its level
// Only the current game's level hears the engine: each new one takes this over.
let levelHears = () => {};
const queue = [];  // { via, lines, search, done, sent }: what to send through which of the two
let heard;

// name(text) gets the engine's name, info(words) the info lines of the search
// that counts, failed(message) an error that ended the engine.
export function connect({ name, info, failed }) {
  engine.onError(failed);
  heard = (via, line) => {
    const words = line.trim().split(/\s+/);
    const search = queue[0];
    if (via === engine && words[0] === 'id' && words[1] === 'name') name(words.slice(2).join(' '));
    if (words[0] === 'bestmove') {
      running -= via === engine;
      queueMicrotask(next);  // once every listener has had this line
    }
    if (search?.via !== via || !search.sent) return;  // the level's own searches, or an old line
    if (words[0] === 'info' && queue.length === 1 && search.done) info(words);
    else if (words[0] === 'bestmove') {
      queue.shift();
      search.done?.(words[1]);
    }
  };
  engine.onLine(line => heard(engine, line));
  engine.onLine(line => levelHears(line));
  engine.send('uci');
}

// Sends what waits, up to the next search; searches cancelled meanwhile are not asked.
function next() {
  while (queue[0] && !queue[0].sent && !running) {
    const item = queue[0];
    if (item.search && !item.done) queue.shift();
    else {
      for (const line of item.lines) item.via.send(line);
      if (item.search) item.sent = true;
      else queue.shift();
    }
  }
}

function ask(item) {
  queue.push(item);
  queueMicrotask(next);
}

// A search for the game (through its level) or for analysis.
export function think(start, moves, go, done, game) {
  const position = start === DEFAULT_POSITION ? 'startpos' : `fen ${start}`;
  ask({ via: game ? player : engine, lines: [`position ${position}${moves.length ? ` moves ${moves.join(' ')}` : ''}`, go],
    search: true, done });
}

// The game's level (1 to 8, 8 being full strength) and its seed, for the searches after. A level
// speaks UCI once told "uci".
export function play(level, seed) {
  levelHears = () => {};
  const view = { ...engine, onLine: listener => { levelHears = listener; } };
  const wrapped = withLevel(view, { level, seed });
  if (wrapped !== view) {
    wrapped.onLine(line => heard(wrapped, line));
    ask({ via: wrapped, lines: ['uci'] });
  }
  player = wrapped === view ? engine : wrapped;
}

export const busy = () => queue.some(item => item.done);
export const stop = () => queue[0]?.sent && queue[0].via.send('stop');
export const newGame = () => ask({ via: engine, lines: ['ucinewgame'] });

export function cancel() {
  if (!busy()) return;
  for (const item of queue) item.done = null;
  stop();
}
