#include "platform/platform.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

uint32_t tickCount() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return uint32_t(uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u);
}

bool standardInputReady() {
  pollfd probe{0, POLLIN, 0};
  const int ready = poll(&probe, 1, 0);
  // A failed probe counts as ready, so that the reader finds out what is wrong.
  return ready != 0;
}

int readStandardInput(char *buffer, int size) {
  ssize_t got;
  do got = read(0, buffer, size_t(size));
  while (got < 0 && errno == EINTR);
  return got > 0 ? int(got) : 0;
}

void *allocateTable(size_t bytes) {
  // Fresh anonymous memory is zero: a write to each page maps it. The table
  // starts on a 2 MB boundary, so that Linux on 4 kB pages can back all of it
  // with huge pages: a fault per 2 MB rather than per 4 kB, and fewer TLB
  // misses on the table's random accesses. A kernel on 16 kB pages (the
  // Raspberry Pi 5's) has 32 MB huge pages, and one without transparent huge
  // pages refuses the advice: either way the table works on small pages.
  constexpr size_t HUGE_PAGE = size_t(2) << 20;
  const size_t page = size_t(sysconf(_SC_PAGESIZE));
  void *memory = mmap(nullptr, bytes + HUGE_PAGE, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
  auto *table = reinterpret_cast<volatile char *>((uintptr_t(memory) + HUGE_PAGE - 1) & ~uintptr_t(HUGE_PAGE - 1));
#ifdef MADV_HUGEPAGE
  madvise(const_cast<char *>(table), bytes, MADV_HUGEPAGE);
#endif
  for (size_t at = 0; at < bytes; at += page) table[at] = 0;
  return const_cast<char *>(table);
}

std::string programFileName() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  const std::string full = length > 0 ? std::string(path, size_t(length)) : std::string();
  return full.substr(full.rfind('/') + 1);
}

void ignoreInterruptSignal() { std::signal(SIGINT, SIG_IGN); }

void ignoreBrokenPipeSignal() { std::signal(SIGPIPE, SIG_IGN); }
