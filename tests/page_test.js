// The page in Debian's chromium, headless, served from 127.0.0.1 without cross-origin
// isolation headers: a move gets the engine's reply on the board, and analysis without a
// limit ends with a best move soon after Stop is clicked. page_test.js SITE SCREENSHOT.png
const { chromium } = require('playwright-core');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const [site, screenshot] = process.argv.slice(2);
if (!fs.existsSync(path.join(site, 'pelko.wasm'))) {
  console.log(`No site in ${site}: skipped`);
  process.exit(77);
}
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
const server = http.createServer((request, response) => {
  const file = path.join(site, new URL(request.url, 'http://site').pathname.replace(/\/$/, '/index.html'));
  fs.readFile(file, (error, data) => {
    response.writeHead(error ? 404 : 200, { 'Content-Type': TYPES[path.extname(file)] ?? 'text/plain' });
    response.end(data);
  });
});
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'pelko-chromium-'));
let failed = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  failed += !ok;
}

async function main(page) {
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForFunction(() => document.getElementById('engine').textContent.startsWith('Pelko 2 wasm'));

  // White at one minute: e2-e4 by two clicks, then a black piece on the square of the last move.
  await page.selectOption('#time', '60+0');
  await page.click('#new-game');
  const box = await page.locator('#board').boundingBox();
  for (const [file, rank] of [[4, 1], [4, 3]]) await page.mouse.click(box.x + (file + 0.5) * box.width / 8, box.y + (7.5 - rank) * box.height / 8);
  const reply = await page.waitForFunction(() => /^1\. e4 \S+$/.test(document.getElementById('moves').textContent)
    && [...document.querySelectorAll('#board square.last-move')].some(square =>
      [...document.querySelectorAll('#board piece.black')].some(piece => piece.style.transform === square.style.transform)),
  null, { timeout: 60000 }).catch(() => false);
  check(reply, `the engine's reply on the board: ${await page.textContent('#moves')}`);

  // A position from FEN, analysed without a limit: progress shows, and Stop brings the best move.
  await page.fill('#fen', 'r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3');
  await page.press('#fen', 'Enter');
  await page.click('#analyse');
  await page.waitForFunction(() => Number(document.getElementById('depth').textContent) >= 3);
  await page.waitForTimeout(1000);
  check(await page.isVisible('#thinking'), `progress while analysing: depth ${await page.textContent('#depth')}, ${await page.textContent('#nps')}`);
  await page.evaluate(() => {
    const status = document.getElementById('status');
    document.getElementById('stop').addEventListener('click', () => { window.clicked = performance.now(); });
    new MutationObserver(() => { window.answered ??= /^Best move: \S/.test(status.textContent) ? performance.now() : undefined; })
      .observe(status, { childList: true, characterData: true, subtree: true });
  });
  await page.click('#stop');
  const ms = await (await page.waitForFunction(() => window.answered && window.answered - window.clicked)).jsonValue();
  check(ms < 200, `${await page.textContent('#status')} ${ms.toFixed(0)} ms after Stop was clicked`);
  check(errors.length === 0, `no errors on the page ${errors.join('; ')}`);
  await page.screenshot({ path: screenshot });
  await page.setViewportSize({ width: 390, height: 844 });
  await page.screenshot({ path: screenshot.replace(/\.png$/, '_phone.png'), fullPage: true });
  console.log(`screenshots: ${screenshot} and its _phone twin`);
}

server.listen(0, '127.0.0.1', async () => {
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, viewport: { width: 1200, height: 800 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  await main(context.pages()[0] ?? await context.newPage()).catch(error => check(false, error.message));
  await context.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
  process.exit(failed ? 1 : 0);
});
