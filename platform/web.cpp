// The web layer: the engine runs in a Web Worker (or a Node worker thread),
// and its standard input is what the host posts to it. The queue of posted
// input lives in JavaScript (web.js); the reads below reach it through
// asynchronous imports, which unwind the program to the event loop and
// resume it (asyncify), since a worker receives messages only there.
#include "platform/platform.h"

#include <emscripten.h>

#include <cstdlib>

// Lets the event loop run once, so that messages posted meanwhile join the
// queue; true when input or its end is waiting.
EM_ASYNC_JS(int, yieldForInput, (), {
  await Module.yieldToEventLoop();
  return Module.inputWaiting();
});

// Copies up to size queued bytes into buffer; waits for a message while none
// are queued; 0 once the input has ended.
EM_ASYNC_JS(int, takeInput, (char *buffer, int size), {
  while (!Module.inputWaiting()) await Module.nextInput();
  const bytes = Module.takeInput(size);
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});

uint32_t tickCount() { return uint32_t(uint64_t(emscripten_get_now())); }

bool standardInputReady() { return yieldForInput() != 0; }

int readStandardInput(char *buffer, int size) { return takeInput(buffer, size); }

// WebAssembly memory is the module's own and already in place once grown.
void *allocateTable(size_t bytes) { return std::calloc(bytes, 1); }

// There is no file system, so no log file is ever opened under this name.
std::string programFileName() { return "pelko.wasm"; }

// A worker has no signals; the Node entry ignores SIGINT itself.
void ignoreInterruptSignal() {}

void ignoreBrokenPipeSignal() {}
