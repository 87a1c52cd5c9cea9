// The npm package in a Vite production build of vite_app/, with the packed tarball installed, opened in
// chromium: the engine answers through createEngine (a module worker, whose end() resolves after the
// last line) and as the classic worker Vite bundles from 'pelko/worker'. package_vite.js NPM TARBALL OUT
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { browse } = require('./browser');

const [npm, tarball, out] = process.argv.slice(2).map(file => path.resolve(file));
if (!fs.existsSync(tarball)) process.exit(77);
const run = (...args) => execFileSync(args[0], args.slice(1), { cwd: path.join(__dirname, 'vite_app'), stdio: 'inherit' });
run(npm, 'ci', '--no-audit', '--no-fund');
run(npm, 'install', '--no-save', '--no-audit', '--no-fund', tarball);
let start = Date.now();
run('node_modules/.bin/vite', 'build', '--outDir', out, '--emptyOutDir', '--logLevel', 'warn');
console.log(`vite build: ${Date.now() - start} ms`);

browse(out, async (page, url, check) => {
  page.on('console', message => message.type() === 'error' && console.log(message.text()));
  const seen = (id, pattern) => page.waitForFunction(([id, pattern]) => new RegExp(pattern, 'm')
    .test(document.getElementById(id).textContent), [id, pattern], { timeout: 60000 }).then(() => true, () => false);
  start = Date.now();
  await page.goto(url);
  check(await seen('module', '^uciok$'), `uciok through createEngine ${Date.now() - start} ms after the page was asked for`);
  check(await seen('module', '^bestmove \\S+\\nended$'), 'a best move, then the end');
  check(await seen('classic', '^uciok\\n(.|\\n)*^bestmove \\S+$'), 'uciok and a best move from the classic worker');
});
