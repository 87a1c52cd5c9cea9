// The engine both ways a Vite page gets it, each writing its lines to a <pre>: through createEngine
// (a module worker), whose end() resolves after the last line, and as the classic 'pelko/worker'.
import { createEngine } from 'pelko';

const show = (id, line) => { document.getElementById(id).textContent += `${line}\n`; };
const engine = createEngine({ args: ['-h', '16'] });
engine.onLine(line => show('module', line));
engine.send('uci\nposition startpos moves e2e4\ngo depth 6');
engine.end().then(() => show('module', 'ended'));
const classic = new Worker(new URL('pelko/worker', import.meta.url));
classic.onmessage = ({ data }) => show('classic', data);
classic.postMessage('uci\nposition startpos moves d2d4\ngo depth 6');
