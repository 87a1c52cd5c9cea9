#!/usr/bin/env node
// Pelko's web build as a console engine: UCI or xboard on standard input and
// output, so that GUIs and scripts can run it like the native programs. The
// engine runs in pelko-worker.js, as in a browser; the arguments ("-h 64")
// are the engine's own, but for "--level N" (1 to 8) and "--seed S", which
// make it play UCI at that level (levels.mjs).
import { Worker } from 'node:worker_threads';

const args = process.argv.slice(2);
const option = name => (args.includes(name) ? args.splice(args.indexOf(name), 2)[1] : undefined);
const level = option('--level');
const seed = level === undefined ? undefined : option('--seed');
if (level !== undefined && !/^[1-8]$/.test(level)) {
  console.error('--level takes a level from 1 to 8');
  process.exit(2);
}
const worker = new Worker(new URL('./pelko-worker.js', import.meta.url));
worker.postMessage({ arguments: args });
const listeners = [];
// The worker's last message, null, ends the output.
worker.on('message', line => line !== null && listeners.forEach(listener => listener(line)));
// The lines posted before the engine ended have all arrived by 'exit'.
worker.on('error', error => console.error(error));
worker.on('exit', status => process.exit(status));
let engine = {
  onLine: listener => listeners.push(listener),
  send: line => worker.postMessage(line),
  end: async () => worker.postMessage(null),
};
if (level !== undefined) {
  const { withLevel } = await import('./levels.mjs');
  engine = withLevel(engine, { level: Number(level), seed: /^\d+$/.test(seed) ? Number(seed) : seed });
}
engine.onLine(line => process.stdout.write(line + '\n'));
// Each input line goes to the engine as a string, as a page posts it.
let partLine = '';
process.stdin.setEncoding('utf8');
process.stdin.on('data', text => {
  const lines = (partLine + text).split('\n');
  partLine = lines.pop();
  for (const line of lines) engine.send(line);
});
process.stdin.on('end', () => {
  if (partLine) engine.send(partLine);
  engine.end();
});
// Some GUIs send their engine SIGINT; the native programs ignore it too.
process.on('SIGINT', () => {});
// The GUI has gone: nobody is left to answer.
process.stdout.on('error', () => process.exit(0));
