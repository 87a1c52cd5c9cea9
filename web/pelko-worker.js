// Pelko as a Web Worker: every message posted to it is input (a string is one
// line, such as "uci" or "go infinite"), and every line the engine writes
// comes back as one message, a string without its newline. After "quit" it
// posts nothing more. The Node entry (pelko-node.mjs) runs this same script
// in a worker thread.
'use strict';
const inNode = typeof importScripts !== 'function';
const host = inNode ? require('node:worker_threads').parentPort : self;

const engine = {
  print: line => host.postMessage(line),
  printErr: line => console.error(line),
  arguments: inNode ? require('node:worker_threads').workerData.arguments : [],
};
// In Node the glue ends the worker thread itself, with the exit status.
if (!inNode) engine.onExit = () => self.close();
if (inNode) {
  // Node's fetch cannot load a file path, so the program is read here.
  engine.wasmBinary = require('node:fs').readFileSync(require('node:path').join(__dirname, 'pelko.wasm'));
  require('./pelko.js')(engine);
} else {
  importScripts('pelko.js');
  PelkoEngine(engine);
}
// The engine object is the running program's Module, and web.js has given it postInput.
const receive = event => engine.postInput(inNode ? event : event.data);
if (inNode) host.on('message', receive);
else host.onmessage = receive;
