#include "platform/platform.h"

#include <conio.h>
#include <csignal>
#include <windows.h>

uint32_t tickCount() { return GetTickCount(); }

void *allocateTable(size_t bytes) {
  // Committed pages come zeroed but are mapped at their first touch, so
  // touch them now. Large pages would need a privilege users rarely have.
  auto *table = static_cast<volatile char *>(VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (table)
    for (size_t at = 0; at < bytes; at += 4096) table[at] = 0;
  return const_cast<char *>(table);
}

namespace {
HANDLE standardInput() {
  static const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  return handle;
}

bool inputIsConsole() {
  static DWORD mode;
  static const bool console = GetConsoleMode(standardInput(), &mode);
  return console;
}
}  // namespace

bool standardInputReady() {
  if (inputIsConsole()) return _kbhit() != 0;
  DWORD available = 0;
  // A failed peek counts as ready: on a broken pipe the read then finds the
  // end of input, and a file (which cannot be peeked) never blocks a read.
  if (!PeekNamedPipe(standardInput(), nullptr, 0, nullptr, &available, nullptr)) return true;
  return available > 0;
}

int readStandardInput(char *buffer, int size) {
  DWORD got = 0;
  BOOL read;
  // Ctrl-C at a console breaks off a read with nothing read: that is not the
  // end of input, since the program ignores the interrupt.
  do {
    SetLastError(ERROR_SUCCESS);
    read = ReadFile(standardInput(), buffer, DWORD(size), &got, nullptr);
  } while (got == 0 && GetLastError() == ERROR_OPERATION_ABORTED);
  return read ? int(got) : 0;
}

std::string programFileName() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string full(path, length < sizeof path ? length : 0);
  return full.substr(full.find_last_of("\\/") + 1);
}

void ignoreInterruptSignal() { std::signal(SIGINT, SIG_IGN); }

// Windows has no SIGPIPE: a write to a closed pipe fails by itself.
void ignoreBrokenPipeSignal() {}
