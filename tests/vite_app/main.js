// The engine both ways a Vite page gets it: through createEngine (a module
// worker), whose end() must resolve after the last line, and as a classic
// worker that Vite bundles from 'pelko/worker'. Each writes its lines to a <pre>.
import { createEngine } from 'pelko';

const show = (id, line) => { document.getElementById(id).textContent += `${line}\n`; };

const engine = createEngine({ args: ['-h', '16'] });
engine.onLine(line => show('module', line));
engine.send('uci\nposition startpos moves e2e4\ngo depth 6');
engine.end().then(() => show('module', 'ended'));

const classic = new Worker(new URL('pelko/worker', import.meta.url));
classic.onmessage = ({ data }) => show('classic', data);
for (const line of ['uci', 'position startpos moves d2d4', 'go depth 6']) classic.postMessage(line);
