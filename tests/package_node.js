// The npm package under Node, from the packed tarball: require and import give one createEngine, whose engine
// answers every listener; end() resolves after the best move of the search under way, also at a level of
// pelko/levels (chess.js installed with the package). The worker without workerData, posted what a caller might
// post by mistake: only strings are input, a string may hold several lines, and after "quit" its last message is
// null. Usage: package_node.js NPM TARBALL
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { Worker } = require('worker_threads');

const [npm, tarball] = process.argv.slice(2).map(file => path.resolve(file));
if (!fs.existsSync(tarball)) process.exit(77);
const dir = fs.mkdtempSync(path.join(require('os').tmpdir(), 'pelko-npm-'));
process.on('exit', () => fs.rmSync(dir, { recursive: true }));
execFileSync(npm, ['install', '--no-save', '--no-audit', '--no-fund', '--prefix', dir, tarball], { stdio: 'inherit' });
fs.writeFileSync(path.join(dir, 'probe.mjs'), "export * from 'pelko';\nexport * from 'pelko/levels';\n");
setTimeout(() => (console.log('no end within a minute'), process.exit(1)), 60000);
let failed = 0;
const check = (seen, ok, what) => console.log(ok && seen.includes('uciok') && seen.includes('readyok')
  && /^bestmove \S+$/.test(seen.findLast(line => line)) ? `ok: ${what}` : (failed++, `FAILED: ${what}:\n  ${seen.slice(-6).join('\n  ')}`));

import(path.join(dir, 'probe.mjs')).then(async ({ createEngine, withLevel, LEVELS }) => {
  const engine = createEngine({ args: ['-h', '16'] });
  const seen = [];
  let heard = 0;
  engine.onLine(line => seen.push(line));
  engine.onLine(() => heard++);
  engine.send('uci\nisready\nposition startpos moves e2e4\ngo depth 6');
  await engine.end();
  const required = require(require.resolve('pelko', { paths: [dir] })).createEngine;
  check(seen, required === createEngine && heard === seen.length && seen.at(-1).startsWith('bestmove'), 'createEngine');
  const level = withLevel(createEngine({ args: ['-h', '16'] }), { level: 1 }), played = [];
  level.onLine(line => played.push(line));
  level.send('uci\nisready\nposition startpos moves e2e4\ngo wtime 9000 btime 9000');
  await level.end();
  check(played, LEVELS.length === 8, 'pelko/levels');

  const worker = new Worker(require.resolve('pelko/worker', { paths: [dir] }));
  const posted = [];
  worker.on('message', line => posted.push(line) && line?.startsWith('bestmove') && worker.postMessage('quit'));
  for (const message of [42, { line: 'uci' }, ['uci'], undefined, true, new Uint8Array([10]), 'uci', 'isready',
    'position startpos moves e2e4 e9e5 e7e5', 'position startpos moves e2e4\ngo depth 6']) worker.postMessage(message);
  const status = await new Promise(resolve => worker.on('exit', resolve));
  check(posted, status === 0 && posted.at(-1) === null, 'the worker without workerData');
  process.exit(failed ? 1 : 0);
});
