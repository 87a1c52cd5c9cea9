// Pelko as a Web Worker: every message posted to it is input (a string is one
// line, such as "uci" or "go infinite"), and every line the engine writes
// comes back as one message, a string without its newline. The engine starts
// at the first message; if that is { arguments: ['-h', '64'] }, those are its
// command-line arguments. When it has ended it posts null and closes. This is
// the classic script for pages without a bundler and for Node's worker_threads
// (index.cjs and pelko-node.mjs run it); pelko-worker.mjs is the module twin
// that bundlers build from.
'use strict';
const inNode = typeof importScripts !== 'function';
const host = inNode ? require('node:worker_threads').parentPort : self;
let engine;

function receive(data) {
  if (!engine) {
    engine = {
      print: line => host.postMessage(line),
      printErr: line => console.error(line),
      arguments: Array.isArray(data?.arguments) ? data.arguments.map(String) : [],
      // In Node the glue then ends the worker thread itself, with the exit status.
      onExit: () => {
        host.postMessage(null);
        if (!inNode) close();
      },
    };
    if (inNode) {
      // Node's fetch cannot load a file path, so the program is read here.
      engine.wasmBinary = require('node:fs').readFileSync(require('node:path').join(__dirname, 'pelko.wasm'));
      require('./pelko.js')(engine);
    } else {
      importScripts('pelko.js');
      // An engine that cannot start (no pelko.wasm) reaches the page as the Worker's error event.
      PelkoEngine(engine).catch(reportError);
    }
  }
  // The engine object is the running program's Module, and web.js has given it postInput.
  engine.postInput(data);
}
if (inNode) host.on('message', receive);
else host.onmessage = event => receive(event.data);
