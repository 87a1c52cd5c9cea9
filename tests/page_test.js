// The page in Debian's chromium, headless, served from 127.0.0.1 without cross-origin
// isolation headers, played and analysed as a player would: a game against a level of the engine
// through a reload, a take back, resigning and a loss on time; a pasted game stepped
// through with analysis; Stop answered at once. page_test.js SITE SCREENSHOT.png
const { browse } = require('./browser');

const [site, screenshot] = process.argv.slice(2);

// Each line the page sends the engine, the sounds started, and the board's pieces as a FEN's first field.
function watch() {
  const post = Worker.prototype.postMessage;
  window.sent = [];
  Worker.prototype.postMessage = function (line) { window.sent.push(line); return post.call(this, line); };
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) { window.sounds = (window.sounds ?? 0) + 1; return start.apply(this, args); };
  window.placement = (at = {}) => {
    for (const { cgKey, classList: [colour, role] } of document.querySelectorAll('#board piece:not(.fading):not(.ghost)'))
      at[cgKey] = (colour === 'white' ? s => s.toUpperCase() : s => s)(role === 'knight' ? 'n' : role[0]);
    return [8, 7, 6, 5, 4, 3, 2, 1].map(rank => [...'abcdefgh'].map(file => at[file + rank] ?? 1).join('')).join('/').replace(/1+/g, ones => ones.length);
  };
}
const START = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR';

browse(site, async (page, url, check) => {
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  await page.addInitScript(watch);
  page.setDefaultTimeout(10000);
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById('engine').textContent.startsWith('Pelko 2 wasm'));
  const text = id => page.textContent(id);
  // A group's failed step fails it, and the groups after it still run.
  const group = (what, steps) => steps().catch(error => check(false, `${what}: ${error.message.split('\n')[0]}`));
  const until = (test, arg) => page.waitForFunction(test, arg, { timeout: 30000 }).then(() => true, () => false);
  const shot = name => page.screenshot({ path: screenshot.replace(/\.png$/, `_${name}.png`) });
  const load = async fen => { await page.fill('#fen', fen); await page.press('#fen', 'Enter'); };
  const squares = async (...names) => { for (const name of names) { const box = await page.locator('#board').boundingBox();
    await page.mouse.click(box.x + (name.charCodeAt(0) - 96.5) * box.width / 8, box.y + (56.5 - name.charCodeAt(1)) * box.height / 8); } };
  // A key pressed or a move clicked, until the board shows `placement`.
  const shows = async (key, placement) => { await (key.startsWith('#') ? page.click(key) : page.keyboard.press(key));
    return until(expected => window.placement() === expected, placement); };

  // White at one minute and level 3: e2-e4 by two clicks, the engine's reply, sounds, and no score unless asked for.
  await group('a game', async () => {
    await page.selectOption('#time', '60+0');
    await page.selectOption('#level', '3');
    check(/^3 · -?\d+$/.test(await page.textContent('#level option:checked')), 'level 3 shown with its rating');
    await page.click('#new-game');
    check(await page.evaluate(() => window.sent.includes('ucinewgame')), 'ucinewgame before the new game');
    await squares('e2', 'e4');
    check(await until(() => /^1\. ?e4 ?\S+$/.test(document.getElementById('moves').textContent) && !window.placement().startsWith('rnbqkbnr/pppppppp/8/8')),
      `the engine's reply on the board: ${await text('#moves')}`);
    check(await page.evaluate(() => !window.sent.some(line => /^go wtime/.test(line))), 'level 3 plays, not the engine on its clock');
    check(await page.evaluate(() => window.sounds > 0), 'moves are heard');
    check(await text('#score') === '–', `no score shown in the game: ${await text('#score')}`);
    await page.check('#reveal');
    check(/\d/.test(await text('#score')), `the score shown when asked: ${await text('#score')}`);
  });

  // A reload keeps the game and its level, also in the PGN; take back restores the start; resigning ends the game with the reason.
  await group('a reload, take back and resign', async () => {
    const [moves, board] = await page.evaluate(() => [document.getElementById('moves').textContent, window.placement()]);
    await page.reload();
    check(await until(([m, b]) => document.getElementById('moves').textContent === m && window.placement() === b, [moves, board])
      && (await text('#clock-bottom')).startsWith('White · You'), `the game back after a reload: ${await text('#moves')}, ${await text('#clock-bottom')}`);
    const pgn = await page.evaluate(() => JSON.parse(localStorage.getItem('pelko-page')).pgn);
    check(await page.inputValue('#level') === '3' && /^\[Black "Pelko 2 .*level 3"\]$[^]*^\[LevelSeed "\d+"\]$/m.test(pgn),
      `level 3 kept: ${pgn.match(/^\[(Black|LevelSeed) .*$/gm)}`);
    await shot('reload');
    await page.click('#take-back');
    check(await until(start => window.placement() === start && !document.getElementById('moves').textContent, START), 'take back to the start');
    await shot('take_back');
    await page.click('#resign');
    check(await text('#status') === '0-1: White resigns', `resigned: ${await text('#status')}`);
    await shot('resign');
  });

  // Games stored as White: take back takes the moves' increments with them (3:02 each after 1. e4 e5 at 3 + 2, 3:00 after
  // it); lost on time without a move, the clock at zero, and no move after the end.
  await group('take back and a loss on time', async () => {
    const resume = (pgn, control, w, b, inc) => page.evaluate(state => localStorage.setItem('pelko-page', state), JSON.stringify({ pgn,
      game: { human: 'w', control, clock: { w, b, inc, running: 'w', since: Date.now() }, result: null } })).then(() => page.reload());
    await resume('1. e4 e5', '180+2', 182000, 182000, 2000);
    await page.click('#take-back');
    const clocks = `${await text('#clock-bottom .time')} ${await text('#clock-top .time')}`;
    check(/^(3:00|2:5\d) 3:00$/.test(clocks), `the increments taken back: ${clocks}`);
    await resume('', '60+0', 300, 60000, 0);
    check(await until(() => /lost on time/.test(document.getElementById('status').textContent)), `lost on time: ${await text('#status')}`);
    check(/^0:00(\.0)?$/.test(await text('#clock-bottom .time')), `the clock at zero: ${await text('#clock-bottom .time')}`);
    await squares('e2', 'e4');
    check(/lost on time/.test(await text('#status')) && await text('#moves') === '', `no move after the end: ${await text('#moves')}`);
  });

  // The status and the analysis panel follow the position: a valid FEN after a bad one, Copy PGN then Load.
  await group('the status line', async () => {
    await load('4k3/8/8/8/8/8/8/8 w - - 0 1');
    await load('4k3/8/8/8/8/8/8/R3K3 w - - 0 1');
    check(await text('#status') === 'White to move', `a valid FEN after a bad one: ${await text('#status')}`);
    await page.click('#copy');
    await until(() => /PGN|clipboard/.test(document.getElementById('status').textContent));
    await load('');
    check(await text('#status') === 'White to move', `a FEN after Copy PGN: ${await text('#status')}`);
  });

  // A pasted PGN analysed, stepped through: the analysis follows the position shown, with its bar and arrow.
  await group('a pasted game', async () => {
    await load('1. e4 e5 2. Nf3 Nc6');
    await page.click('#analyse');
    check(await shows('Home', START) && await shows('ArrowRight', 'rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR')
      && await shows('#moves [data-ply="3"]', 'rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R'), 'Home, the arrow key and a click on a move show their positions');
    await page.keyboard.press('End');
    check(await until(() => window.sent.at(-2) === 'position startpos moves e2e4 e7e5 g1f3 b8c6' && document.querySelector('#board .cg-shapes line')
      && !document.getElementById('bar').classList.contains('off')), 'analysis follows the position shown, with its bar and arrow');
    await shot('pgn_analysis');
    // New game from a position stepped back to plays on from it, and take back does not go before it. Resigned during a
    // search of level 7's and analysed at once, the analysis waits for that search to end, whose bestmove is not its own.
    await page.keyboard.press('ArrowLeft');
    await page.selectOption('#level', '7');
    const [moves, takeBack] = await page.evaluate(() => {
      const [clicked, searching] = [Date.now(), /^go (?!infinite)/];
      document.getElementById('new-game').click();
      return new Promise(function wait(resolve) {  // then resigned and analysed while the level searches
        if (!searching.test(window.sent.at(-1)) && Date.now() < clicked + 5000) return setTimeout(wait, 1, resolve);
        resolve([document.getElementById('moves').textContent, document.getElementById('take-back').disabled]);
        ['resign', 'analyse'].forEach(id => document.getElementById(id).click());
      });
    });
    check(/^1\. ?e4 ?e5 ?2\. ?Nf3$/.test(moves) && takeBack, `on from 2. Nf3: ${moves}`);
    await page.waitForTimeout(300);
    check(await text('#status') === 'Analysing…', `analysed after the level's search: ${await text('#status')}`);
  });

  // A FEN set while analysing forgets the analysis; analysed without a limit, progress shows and Stop brings the best move.
  await load('r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3');
  check(await text('#depth') === '–' && await text('#best') === '–', `a FEN forgets the analysis: ${await text('#depth')} ${await text('#best')}`);
  await page.click('#analyse');
  await page.waitForFunction(() => Number(document.getElementById('depth').textContent) >= 3);
  await page.waitForTimeout(1000);
  check(await page.isVisible('#thinking'), `progress while analysing: depth ${await text('#depth')}, ${await text('#nps')}`);
  const ms = await page.evaluate(() => new Promise(resolve => {
    const status = document.getElementById('status'), clicked = performance.now();
    new MutationObserver(() => /^Best move: \S/.test(status.textContent) && resolve(performance.now() - clicked))
      .observe(status, { childList: true, characterData: true, subtree: true });
    document.getElementById('stop').click();
  }));
  check(ms < 200, `${await text('#status')} ${ms.toFixed(0)} ms after Stop was clicked`);

  // A new game forgets the best move; Ra8 mates on the free board, then again from the position before, silently
  // with the sound off.
  await group('a new game and the free board', async () => {
    await page.click('#new-game');
    check(await text('#status') === 'Your move' && await text('#depth') === '–', `a new game starts clean: ${await text('#status')}, depth ${await text('#depth')}`);
    await load('6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1');
    await squares('a1', 'a8');
    check(await until(() => document.getElementById('status').textContent === '1-0: White mates'
      && document.getElementById('analyse').disabled), `mate announced: ${await text('#status')}`);
    await page.uncheck('#sound');
    const sounds = await page.evaluate(() => window.sounds);
    await page.keyboard.press('ArrowLeft');
    await squares('a1', 'a8');
    check(await until(n => window.sounds === n && /mates/.test(document.getElementById('status').textContent), sounds), 'no sound when switched off');
  });
  check(errors.length === 0, `no errors on the page ${errors.join('; ')}`);
  await page.screenshot({ path: screenshot });

  // On a phone, New game below the board brings the top of the board and its clock into view.
  await group('a phone', async () => {
    await page.setViewportSize({ width: 390, height: 844 });
    await page.evaluate(() => document.querySelector('aside').scrollIntoView());  // down to the game's settings
    await page.click('#new-game');
    check(await page.evaluate(() => document.getElementById('clock-top').getBoundingClientRect().top >= 0), 'the board in view after New game');
    await shot('phone');
  });
  console.log(`screenshots: ${screenshot} and its _reload, _take_back, _resign, _pgn_analysis and _phone twins`);
});
