#include "platform/platform.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <poll.h>
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

std::string programFileName() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  const std::string full = length > 0 ? std::string(path, size_t(length)) : std::string();
  return full.substr(full.rfind('/') + 1);
}

void ignoreInterruptSignal() { std::signal(SIGINT, SIG_IGN); }

void ignoreBrokenPipeSignal() { std::signal(SIGPIPE, SIG_IGN); }
