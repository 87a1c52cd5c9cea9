// Searches asked of the engine over UCI, oldest first, each until its
// bestmove; a cancelled one has no `done`, and its lines are ignored.
import { createEngine } from 'pelko';
import { DEFAULT_POSITION } from 'chess.js';

const engine = createEngine();
const searches = [];

// name(text) gets the engine's name, info(words) the info lines of the search
// that counts, failed(message) an error that ended the engine.
export function connect({ name, info, failed }) {
  engine.onError(failed);
  engine.onLine(line => {
    const words = line.trim().split(/\s+/);
    const search = searches[0];
    if (words[0] === 'id' && words[1] === 'name') name(words.slice(2).join(' '));
    else if (words[0] === 'info' && searches.length === 1 && search.done) info(words);
    else if (words[0] === 'bestmove' && search) {
      searches.shift();
      search.done?.(words[1]);
    }
  });
  engine.send('uci');
}

export function think(start, moves, go, done) {
  const position = start === DEFAULT_POSITION ? 'startpos' : `fen ${start}`;
  engine.send(`position ${position}${moves.length ? ` moves ${moves.join(' ')}` : ''}`);
  engine.send(go);
  searches.push({ done });
}

export const busy = () => searches.some(search => search.done);
export const stop = () => engine.send('stop');
export const newGame = () => engine.send('ucinewgame');

export function cancel() {
  if (!busy()) return;
  for (const search of searches) search.done = null;
  stop();
}
