// The Worker script, started without workerData, given what a page might post
// by mistake: only strings are input (null ends it), a string may hold several
// lines, and the engine answers on; after "quit" its last message is null.
// Usage: node web_messages.js pelko-worker.js
const { resolve } = require('node:path');
const { Worker } = require('node:worker_threads');

const engine = new Worker(resolve(process.argv[2]));
const seen = [];
const timer = setTimeout(() => engine.terminate(), 20000);
engine.on('message', line => {
  seen.push(line);
  if (line?.startsWith('bestmove')) engine.postMessage('quit');
});
engine.on('exit', status => {
  clearTimeout(timer);
  const ok = status === 0 && seen.includes('uciok') && seen.includes('readyok') && seen.at(-2)?.startsWith('bestmove') && seen.at(-1) === null;
  if (!ok) console.log(`exit ${status}, last lines:\n  ${seen.slice(-8).join('\n  ')}`);
  process.exit(ok ? 0 : 1);
});
for (const message of [42, { line: 'uci' }, ['uci'], undefined, true, new Uint8Array([10]), 'uci', 'isready',
  'position startpos moves e2e4 e9e5 e7e5', 'position startpos moves e2e4\ngo depth 6'])
  engine.postMessage(message);
