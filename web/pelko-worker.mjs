// Pelko as a module Worker, with the messages of pelko-worker.js. Bundlers
// build their worker from this file, as a module or a classic one: they follow
// the import of the engine (pelko.mjs) and the URL of pelko.wasm below, and
// emit both with the page.
import PelkoEngine from './pelko.mjs';

let engine;
self.onmessage = ({ data }) => {
  if (!engine) {
    engine = {
      print: line => self.postMessage(line),
      printErr: line => console.error(line),
      arguments: Array.isArray(data?.arguments) ? data.arguments.map(String) : [],
      locateFile: () => new URL('./pelko.wasm', import.meta.url).href,
      onExit: () => {
        self.postMessage(null);
        self.close();
      },
    };
    // An engine that cannot start (no pelko.wasm) reaches the page as the Worker's error event.
    PelkoEngine(engine).catch(reportError);
  }
  engine.postInput(data);
};
