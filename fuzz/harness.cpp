#include "fuzz/harness.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "frontend/input.h"
#include "frontend/startup.h"

void initFuzzEngine() {
  char program[] = "fuzz", option[] = "-h", megabytes[] = "1";
  char *argv[] = {program, option, megabytes, nullptr};
  parseOptions(3, argv);
  initEngine();
  const int null = open("/dev/null", O_WRONLY);
  if (null < 0 || dup2(null, 1) < 0) std::abort();
  close(null);
}

void setStandardInput(const uint8_t *data, size_t size) {
  const int fd = memfd_create("fuzz_input", 0);
  if (fd < 0) std::abort();
  for (size_t done = 0; done < size;) {
    const ssize_t wrote = write(fd, data + done, size - done);
    if (wrote <= 0) std::abort();
    done += size_t(wrote);
  }
  if (lseek(fd, 0, SEEK_SET) != 0 || dup2(fd, 0) < 0) std::abort();
  close(fd);
}

void drainStandardInput() {
  while (readInputChar() >= 0) {
  }
}
