// The levels (levels.mjs) with fixed seeds: how a level spreads its choices, the safeguards of levels 4 to 7
// and of a winning lead, level 8 as the engine itself, a session replayed through the Node entry, and a game
// under a small clock with "isready" and "stop" answered at once. Usage: levels_test.js BUILD (the web build's folder)
const test = require('node:test');
const assert = require('node:assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const build = path.resolve(process.argv[2]), entry = path.join(build, 'pelko-node.mjs');
if (!fs.existsSync(path.join(build, 'node_modules/chess.js'))) process.exit(77);  // "npm ci" in web/page first
const { Chess } = require(path.join(build, 'node_modules/chess.js'));
const { createEngine } = require(path.join(build, 'index.cjs'));
const levels = import(path.join(build, 'levels.mjs'));

test('createRandom repeats a seed; a low level spreads its choices, a high one keeps near the best', async () => {
  const { chooseMove, createRandom, LEVELS } = await levels;
  const draws = seed => Array.from({ length: 1000 }, createRandom(seed));
  assert.deepEqual(draws(5), draws(5));
  assert.notDeepEqual(draws(5), draws(6));
  assert(draws('x').every(value => value >= 0 && value < 1));
  const scored = Array.from({ length: 30 }, (_, i) => ({ move: `m${i}`, score: -10 * i }));
  const losses = [1, 2, 3, 4, 5, 6, 7].map(level => {
    const random = createRandom(level);
    return Array.from({ length: 600 }, () => Number(chooseMove(scored, level, random).slice(1)) * 10);
  });
  const mean = list => list.reduce((sum, loss) => sum + loss, 0) / list.length;
  losses.slice(1).forEach((list, i) => assert(mean(list) < mean(losses[i]), `level ${i + 2}: ${mean(list)}`));
  assert.equal(new Set(losses[0]).size, 30);
  assert(losses[0].filter(loss => !loss).length < 60 && losses[6].filter(loss => !loss).length > 200);
  assert(losses[6].every(loss => loss <= LEVELS[6].blunderLoss));
  // A lead of 2000 is played out even at level 1: no blunder, no move that gives the win up.
  const ahead = [{ move: 'a', score: 2500 }, { move: 'b', score: 1500 }, { move: 'c', score: 0 }, { move: 'd', score: -300 }];
  const random = createRandom(1);
  assert.deepEqual(new Set(Array.from({ length: 300 }, () => chooseMove(ahead, 1, random))), new Set(['a', 'b']));
});

test('from level 4 up, no mate in one or free recapture is missed, scored or not', async () => {
  const { chooseMove, createRandom } = await levels;
  const recapture = new Chess();
  ['e4', 'd5', 'exd5'].forEach(move => recapture.move(move));
  for (const [chess, want, others] of [[new Chess('6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1'), 'a1a8', 0],
    [recapture, 'd8d5', -20]]) {
    const scored = chess.moves({ verbose: true }).map(({ lan }) => ({ move: lan, score: lan === want ? 0 : others }));
    const picks = (level, list = scored, random = createRandom(level)) =>
      new Set(Array.from({ length: 300 }, () => chooseMove(list, level, random, chess)));
    for (const level of [4, 5, 6, 7]) assert.deepEqual(picks(level), new Set([want]), `level ${level}`);
    assert(picks(1).size > 1);
    assert.deepEqual(picks(1, scored.map(({ move, score }) => ({ move, score: score + 2000 }))), new Set([want]));
  }
});

test('level 8, or no level, is the engine itself', async () => {
  const { withLevel } = await levels;
  const engine = {};
  assert.equal(withLevel(engine, { level: 8, seed: 1 }), engine);
  assert.equal(withLevel(engine), engine);
  const run = (...args) => execFileSync(process.execPath, [entry, ...args], { input: 'uci\nposition startpos moves e2e4\ngo depth 7\n' })
    .toString().replace(/ (time|nps) \d+/g, '');
  assert.equal(run('--level', '8', '-h', '16'), run('-h', '16'));
});

test('the Node entry replays a session from its seed, game k with the k-th seed drawn from it', () => {
  const positions = ['e2e4', 'd2d4', 'g1f3', 'e2e4 e7e5', 'c2c4', 'e2e4 c7c5', 'd2d4 d7d5 c2c4'];
  const game = list => ['ucinewgame', ...list.map(moves => `position startpos moves ${moves}\ngo depth 9`)];
  const play = (seed, first = positions) => {
    const output = execFileSync(process.execPath, [entry, '--level', '2', '--seed', seed, '-h', '16'],
      { input: ['uci', ...game(first), ...game(positions), ''].join('\n') }).toString();
    // The level's own searches stay hidden: one info line a move, with the move's score.
    assert.equal(output.match(/^info/gm).length, output.match(/^info depth 1 score cp -?\d+ pv (\S+)\nbestmove \1$/gm).length);
    return output.match(/^bestmove \S+$/gm);
  };
  const moves = play('5'), second = moves.slice(positions.length);
  assert.equal(moves.length, 2 * positions.length);
  assert.deepEqual(play('5'), moves);
  assert.notDeepEqual(play('6'), moves);
  assert.notDeepEqual(second, moves.slice(0, positions.length));
  assert.deepEqual(play('5', positions.slice(1)).slice(-positions.length), second);
});

test('a level keeps to a small clock, and answers "isready" and "stop" at once', async t => {
  const { withLevel } = await levels;
  const engine = withLevel(createEngine({ args: ['-h', '16'] }), { level: 7, seed: 1 });
  t.after(() => engine.terminate());
  const lines = [];
  let waiting;
  engine.onLine(line => lines.push(line) && /^(uciok|bestmove)/.test(line) && waiting(line.slice(9)));
  const reply = text => new Promise(resolve => (waiting = resolve) && engine.send(text));
  await reply('uci');
  const chess = new Chess(), clocks = [1000, 1000];
  const position = () => `position startpos moves ${chess.history({ verbose: true }).map(({ lan }) => lan).join(' ')}`;
  for (let ply = 0; ply < 30 && !chess.isGameOver(); ply++) {
    const start = Date.now();
    chess.move(await reply(`${position()}\ngo wtime ${clocks[0]} btime ${clocks[1]}`));
    clocks[ply % 2] -= Date.now() - start;
    assert(clocks[ply % 2] > 0, `move ${ply + 1} overran: ${clocks}`);
  }
  reply(`${position()}\ngo wtime 600000 btime 600000`);
  engine.send('isready\nstop');
  assert.equal(lines.at(-2), 'readyok');
  assert(chess.moves({ verbose: true }).some(({ lan }) => lines.at(-1) === `bestmove ${lan}`), lines.at(-1));
  await engine.end();
});
