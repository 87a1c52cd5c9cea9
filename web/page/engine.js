// The engine in its Worker: each message to it is one input line, each one
// from it one output line.
export function createEngine() {
  const worker = new Worker('pelko-worker.js');
  const listeners = [];
  worker.onmessage = ({ data }) => listeners.forEach(listener => listener(String(data)));
  return {
    onLine: listener => listeners.push(listener),
    send: line => worker.postMessage(line),
    terminate: () => worker.terminate(),
  };
}
