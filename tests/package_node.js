// The npm package under Node, installed from the packed tarball: require('pelko') and import('pelko')
// give the same createEngine, whose engine answers every listener, and end() resolves once the search
// under way when the input closed has printed its best move. Usage: package_node.js NPM TARBALL
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [npm, tarball] = process.argv.slice(2).map(file => path.resolve(file));
if (!fs.existsSync(tarball)) process.exit(77);
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'pelko-npm-'));
process.on('exit', () => fs.rmSync(dir, { recursive: true }));
execFileSync(npm, ['install', '--no-save', '--no-audit', '--no-fund', '--prefix', dir, tarball], { stdio: 'inherit' });
fs.writeFileSync(path.join(dir, 'probe.mjs'), "export * from 'pelko';\n");
setTimeout(() => {
  console.log('no end within a minute');
  process.exit(1);
}, 60000);

import(path.join(dir, 'probe.mjs')).then(async ({ createEngine }) => {
  const required = require(require.resolve('pelko', { paths: [dir] })).createEngine;
  const engine = createEngine({ args: ['-h', '16'] });
  const seen = [];
  let heard = 0;
  engine.onLine(line => seen.push(line));
  engine.onLine(() => heard++);
  engine.send('uci\nisready\nposition startpos moves e2e4\ngo depth 6');
  await engine.end();
  const ok = required === createEngine && heard === seen.length && seen.includes('uciok') && seen.includes('readyok')
    && /^bestmove \S+$/.test(seen.at(-1));
  if (!ok) console.log(`require and import ${required === createEngine ? 'agree' : 'differ'}; last lines:\n  ${seen.slice(-6).join('\n  ')}`);
  process.exit(ok ? 0 : 1);
});
