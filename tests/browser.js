// A folder served from 127.0.0.1 without cross-origin isolation headers, in headless Debian chromium:
// browse(folder, test) calls test(page, url, check), then exits 0 when every check passed, 1 when one
// failed, 77 (skipped) without the folder's index.html, chromium or playwright-core.
const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
exports.browse = (folder, test) => {
  const playwright = (() => { try { return require('playwright-core'); } catch { return null; } })();
  if (!playwright || ![path.join(folder, 'index.html'), '/usr/bin/chromium'].every(file => fs.existsSync(file))) {
    console.log(`No ${folder}/index.html, chromium or playwright-core: skipped`);
    process.exit(77);
  }
  let failed = 0;
  const check = (ok, what) => console.log(`${ok ? 'ok' : (failed++, 'FAILED')}: ${what}`);
  const server = http.createServer((request, response) => {
    const file = path.join(folder, new URL(request.url, 'http://site').pathname.replace(/\/$/, '/index.html'));
    fs.readFile(file, (error, data) => {
      response.writeHead(error ? 404 : 200, { 'Content-Type': TYPES[path.extname(file)] ?? 'text/plain' });
      response.end(data);
    });
  });
  server.listen(0, '127.0.0.1', async () => {
    const browser = await playwright.chromium.launch({ executablePath: '/usr/bin/chromium',
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking'] });
    const page = await browser.newPage({ viewport: { width: 1200, height: 800 } });
    await test(page, `http://127.0.0.1:${server.address().port}/`, check).catch(error => check(false, error.message));
    await browser.close();
    server.close();
    process.exit(failed ? 1 : 0);
  });
};
