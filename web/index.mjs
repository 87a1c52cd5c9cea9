// createEngine in a page: the engine in a module Worker. Bundlers that follow
// new URL(..., import.meta.url), as Vite and webpack 5 do, emit the worker and
// the engine with the page; without one the files are found beside this one.
// Node gets index.cjs instead.
export function createEngine({ args = [] } = {}) {
  const worker = new Worker(new URL('./pelko-worker.mjs', import.meta.url), { type: 'module' });
  const listeners = [];
  const failures = [];
  let ended;
  const end = new Promise(resolve => { ended = resolve; });
  // Each message is an output line; null says the engine has ended.
  worker.onmessage = ({ data }) => (data === null ? ended() : listeners.forEach(listener => listener(data)));
  // A worker or engine that cannot start (a file not found, no WebAssembly) ends here.
  worker.onerror = event => {
    failures.forEach(listener => listener(event.message || 'the engine could not start'));
    ended();
  };
  worker.postMessage({ arguments: args });
  return {
    onLine: listener => { listeners.push(listener); },
    onError: listener => { failures.push(listener); },
    send: line => worker.postMessage(String(line)),
    end: () => {
      worker.postMessage(null);
      return end;
    },
    terminate: () => {
      worker.terminate();
      ended();
    },
  };
}
