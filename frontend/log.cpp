#include "frontend/log.h"

#include <cstdarg>
#include <cstdlib>

#include "frontend/startup.h"
#include "platform/platform.h"

FILE *logStream;

std::string logFileName(const std::string &programPath, const char *suffix) {
  std::string name = programPath.substr(programPath.rfind('/') + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + suffix + ".log";
}

void openLog(const char *suffix) {
  if (!logEnabled || logStream) return;
  logStream = std::fopen(logFileName(programPath(), suffix).c_str(), "w");
}

namespace {
void writeTo(FILE *stream, const char *format, va_list args) {
  if (!stream) return;
  std::vfprintf(stream, format, args);
  std::fflush(stream);
}
}  // namespace

void logPrintf(const char *format, ...) {
  va_list args;
  va_start(args, format);
  writeTo(logStream, format, args);
  va_end(args);
}

void reply(const char *format, ...) {
  va_list args;
  va_start(args, format);
  writeTo(stdout, format, args);
  va_end(args);
  // The GUI has gone away: nobody is left to answer.
  if (std::ferror(stdout)) std::exit(0);
  va_start(args, format);
  writeTo(logStream, format, args);
  va_end(args);
}
