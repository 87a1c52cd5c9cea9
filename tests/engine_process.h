// Runs the engine program as a GUI does: a child process on two pipes, read
// with timeouts.
#pragma once

#include <string>
#include <vector>

class EngineProcess {
 public:
  // Starts `program` (by default the engine under test) with the arguments.
  explicit EngineProcess(const std::vector<std::string> &args = {}, const std::string &program = ENGINE_PATH);
  ~EngineProcess();
  EngineProcess(const EngineProcess &) = delete;
  EngineProcess &operator=(const EngineProcess &) = delete;

  void send(const std::string &text);
  // Closes the engine's standard input: end of input.
  void closeInput();
  // The next output line without its newline; false after the timeout or at
  // end of output.
  bool readLine(std::string &line, int timeoutMs = 5000);
  // Lines up to and including the first that starts with `prefix`; all lines
  // read (without such a line) when the output stops or the timeout passes.
  std::vector<std::string> readUntil(const std::string &prefix, int timeoutMs = 20000);
  // Waits for the process to end; its exit status, or -1 after the timeout
  // (the process is then killed) or on death by a signal.
  int waitExit(int timeoutMs = 10000);
  int pid() const { return pid_; }

 private:
  int pid_ = -1;
  int toEngine_ = -1;
  int fromEngine_ = -1;
  std::string pending_;
};
