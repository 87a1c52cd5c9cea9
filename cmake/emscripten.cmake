# WebAssembly build with Debian's emscripten: the engine as pelko.js +
# pelko.wasm, its Worker script and the Node entry; the tests run under node.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
# emcc's JavaScript optimiser needs Debian's acorn, which node finds only
# on this module path.
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
