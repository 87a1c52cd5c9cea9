// createEngine under Node: the engine in a worker thread running
// pelko-worker.js, as index.mjs runs it in a page.
'use strict';
const { Worker } = require('node:worker_threads');
const path = require('node:path');

exports.createEngine = ({ args = [] } = {}) => {
  const worker = new Worker(path.join(__dirname, 'pelko-worker.js'));
  const listeners = [];
  const failures = [];
  // The null that ends the output comes before 'exit', by which every line has arrived.
  worker.on('message', line => line !== null && listeners.forEach(listener => listener(line)));
  worker.on('error', error => failures.forEach(listener => listener(error.message)));
  const ended = new Promise(resolve => worker.on('exit', () => resolve()));
  worker.postMessage({ arguments: args });
  return {
    onLine: listener => { listeners.push(listener); },
    onError: listener => { failures.push(listener); },
    send: line => worker.postMessage(String(line)),
    end: () => {
      worker.postMessage(null);
      return ended;
    },
    terminate: () => { worker.terminate(); },
  };
};
