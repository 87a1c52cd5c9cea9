// The npm package in a Vite production build: vite_app/ installs the packed tarball, Vite builds it,
// and Debian's headless chromium opens the build, served from 127.0.0.1, where the engine must answer
// through createEngine (a module worker, whose end() resolves after the last line) and as the classic
// worker Vite bundles from 'pelko/worker'. Usage: package_vite.js NPM TARBALL OUTDIR
const { execFileSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');

const [npm, tarball, out] = process.argv.slice(2).map(file => path.resolve(file));
const playwright = (() => { try { return require('playwright-core'); } catch { return null; } })();
if (!playwright || ![tarball, '/usr/bin/chromium'].every(file => fs.existsSync(file))) {
  console.log('No tarball, chromium or playwright-core: skipped');
  process.exit(77);
}
const run = (...args) => execFileSync(args[0], args.slice(1), { cwd: path.join(__dirname, 'vite_app'), stdio: 'inherit' });
run(npm, 'ci', '--no-audit', '--no-fund');
run(npm, 'install', '--no-save', '--no-audit', '--no-fund', tarball);
let start = Date.now();
run('node_modules/.bin/vite', 'build', '--outDir', out, '--emptyOutDir', '--logLevel', 'warn');
console.log(`vite build: ${Date.now() - start} ms`);

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const server = http.createServer(({ url }, response) => fs.readFile(path.join(out, url === '/' ? 'index.html' : url), (error, data) => {
  response.writeHead(error ? 404 : 200, { 'Content-Type': TYPES[path.extname(url)] ?? 'text/html' });
  response.end(data);
}));
server.listen(0, '127.0.0.1', async () => {
  const browser = await playwright.chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  const page = await browser.newPage();
  page.on('console', message => message.type() === 'error' && console.log(message.text()));
  const seen = (id, pattern) => page.waitForFunction(([id, pattern]) =>
    new RegExp(pattern, 'm').test(document.getElementById(id).textContent), [id, pattern], { timeout: 60000 });
  let ok = true;
  try {
    start = Date.now();
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await seen('module', '^uciok$');
    console.log(`uciok through createEngine ${Date.now() - start} ms after the page was asked for`);
    await seen('module', '^bestmove \\S+\\nended$');
    await seen('classic', '^uciok\\n(.|\\n)*^bestmove \\S+$');
  } catch (error) {
    ok = false;
    console.log(`FAILED: ${error.message.split('\n')[0]}\n${await page.innerText('body')}`);
  }
  await browser.close();
  server.close();
  process.exit(ok ? 0 : 1);
});
