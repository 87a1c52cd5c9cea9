// Starts a program the way a Windows GUI starts its engine, on two pipes made
// with CreatePipe, and relays this process's own standard input and output to
// and from them. Under wine a program whose input is a Unix pipe cannot peek
// at it; through this relay it gets a real Windows pipe, and the end of this
// process's input closes that pipe: a broken pipe, as when a GUI quits.
// Usage: relay PROGRAM [ARGUMENT]...   (Unix paths are taken as wine's Z: drive)
#include <windows.h>

#include <string>

namespace {
HANDLE toProgram;

DWORD WINAPI relayInput(void *) {
  char buffer[4096];
  DWORD got, put;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got > 0)
    if (!WriteFile(toProgram, buffer, got, &put, nullptr)) break;
  CloseHandle(toProgram);
  return 0;
}

std::string windowsPath(std::string argument) {
  if (argument.empty() || argument[0] != '/') return argument;
  for (char &c : argument)
    if (c == '/') c = '\\';
  return "Z:" + argument;
}
}  // namespace

int main(int argc, char **argv) {
  std::string command;
  for (int i = 1; i < argc; ++i) command += (i > 1 ? " \"" : "\"") + windowsPath(argv[i]) + "\"";
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE programInput, programOutput, fromProgram;
  if (argc < 2 || !CreatePipe(&programInput, &toProgram, &inherited, 0) ||
      !CreatePipe(&fromProgram, &programOutput, &inherited, 0))
    return 2;
  SetHandleInformation(toProgram, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(fromProgram, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = programInput;
  start.hStdOutput = programOutput;
  start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr, &start,
                      &process))
    return 2;
  // The program ends with this process, also when this one is killed.
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(programInput);
  CloseHandle(programOutput);
  CreateThread(nullptr, 0, relayInput, nullptr, 0, nullptr);
  char buffer[4096];
  DWORD got, put;
  while (ReadFile(fromProgram, buffer, sizeof buffer, &got, nullptr) && got > 0)
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, got, &put, nullptr);
  DWORD status = 2;
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &status);
  return int(status);
}
