#!/usr/bin/env node
// Pelko's web build as a console engine: UCI or xboard on standard input and
// output, so that GUIs and scripts can run it like the native programs. The
// engine runs in pelko-worker.js, as in a browser; the arguments ("-h 64")
// are the engine's own.
import { Worker } from 'node:worker_threads';

const engine = new Worker(new URL('./pelko-worker.js', import.meta.url));
engine.postMessage({ arguments: process.argv.slice(2) });
// The worker's last message, null, ends the output.
engine.on('message', line => line !== null && process.stdout.write(line + '\n'));
// The lines posted before the engine ended have all arrived by 'exit'.
engine.on('error', error => console.error(error));
engine.on('exit', status => process.exit(status));
// Each input line goes to the engine as a string, as a page posts it.
let partLine = '';
process.stdin.setEncoding('utf8');
process.stdin.on('data', text => {
  const lines = (partLine + text).split('\n');
  partLine = lines.pop();
  for (const line of lines) engine.postMessage(line);
});
process.stdin.on('end', () => {
  if (partLine) engine.postMessage(partLine);
  engine.postMessage(null);
});
// Some GUIs send their engine SIGINT; the native programs ignore it too.
process.on('SIGINT', () => {});
// The GUI has gone: nobody is left to answer.
process.stdout.on('error', () => process.exit(0));
