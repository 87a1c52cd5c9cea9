#include "tests/engine_process.h"

#include <csignal>
#include <ctime>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
long long nowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}
}  // namespace

EngineProcess::EngineProcess(const std::vector<std::string> &args, const std::string &program) {
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[0]);
    close(in[1]);
    close(out[0]);
    close(out[1]);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  toEngine_ = in[1];
  fromEngine_ = out[0];
}

EngineProcess::~EngineProcess() {
  closeInput();
  if (fromEngine_ >= 0) close(fromEngine_);
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

void EngineProcess::send(const std::string &text) {
  size_t done = 0;
  while (toEngine_ >= 0 && done < text.size()) {
    ssize_t n = write(toEngine_, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
}

void EngineProcess::closeInput() {
  if (toEngine_ >= 0) close(toEngine_);
  toEngine_ = -1;
}

bool EngineProcess::readLine(std::string &line, int timeoutMs) {
  const long long deadline = nowMs() + timeoutMs;
  for (;;) {
    size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return true;
    }
    long long left = deadline - nowMs();
    if (left <= 0) return false;
    pollfd p{fromEngine_, POLLIN, 0};
    if (poll(&p, 1, int(left)) <= 0) continue;
    char buffer[4096];
    ssize_t n = read(fromEngine_, buffer, sizeof buffer);
    if (n <= 0) return false;
    pending_.append(buffer, size_t(n));
  }
}

std::vector<std::string> EngineProcess::readUntil(const std::string &prefix, int timeoutMs) {
  std::vector<std::string> lines;
  std::string line;
  while (readLine(line, timeoutMs)) {
    lines.push_back(line);
    if (line.rfind(prefix, 0) == 0) break;
  }
  return lines;
}

int EngineProcess::waitExit(int timeoutMs) {
  const long long deadline = nowMs() + timeoutMs;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (nowMs() > deadline) return -1;
    usleep(5000);
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
