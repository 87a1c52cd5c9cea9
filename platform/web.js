// The engine's standard input on the web, for platform/web.cpp: the host
// (pelko-worker.js or .mjs) passes what it receives to Module.postInput, and the
// engine's reads take it from this queue.
(() => {
  const chunks = [];
  let ended = false;
  let wake = null;
  const encoder = new TextEncoder();

  // A string is one line (or several, with newlines inside); null ends the
  // input, as closing standard input does. Anything else is not input.
  Module.postInput = data => {
    if (ended) return;
    if (typeof data === 'string') chunks.push(encoder.encode(data + '\n'));
    else if (data === null) ended = true;
    else return;
    if (wake) wake();
    wake = null;
  };

  Module.inputWaiting = () => chunks.length > 0 || ended;

  // Up to size bytes from the queue; none at the end of input.
  Module.takeInput = size => {
    if (!chunks.length) return new Uint8Array(0);
    const first = chunks[0];
    if (first.length <= size) return chunks.shift();
    chunks[0] = first.subarray(size);
    return first.subarray(0, size);
  };

  // Resolves when the next input arrives.
  Module.nextInput = () => new Promise(resolve => { wake = resolve; });

  // One turn of the event loop, without the clamped delay of a timer: the
  // search yields here every time it polls.
  let yieldOnce;
  if (typeof setImmediate === 'function') {
    yieldOnce = setImmediate;
  } else {
    const channel = new MessageChannel();
    const waiting = [];
    channel.port1.onmessage = () => waiting.shift()();
    yieldOnce = resolve => {
      waiting.push(resolve);
      channel.port2.postMessage(0);
    };
  }
  Module.yieldToEventLoop = () => new Promise(yieldOnce);

  // main returns to the event loop at every wait and is resumed later, so
  // the program ends (as after a return from main) when its last resumption
  // returns. An exit from inside ends it at once and rejects that promise.
  Module.noInitialRun = true;
  Module.onRuntimeInitialized = () => {
    const args = [thisProgram, ...arguments_];
    const argv = stackAlloc(4 * (args.length + 1));
    args.forEach((arg, i) => { HEAP32[(argv >> 2) + i] = allocateUTF8OnStack(arg); });
    HEAP32[(argv >> 2) + args.length] = 0;
    const status = Module._main(args.length, argv);
    (Asyncify.currData ? Asyncify.whenDone() : Promise.resolve(status)).then(exit).catch(error => {
      if (!(error instanceof ExitStatus)) throw error;
    });
  };
})();
