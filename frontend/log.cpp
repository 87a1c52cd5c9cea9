#include "frontend/log.h"

#include <cstdarg>
#include <cstdlib>
#include <string>

#include "frontend/startup.h"
#include "platform/platform.h"

FILE *logStream;

void openLog(const char *suffix) {
  if (!logEnabled || logStream) return;
  // Named after the program file without its extension: Pelko_2_x64.exe
  // and Pelko_2_x64 both write Pelko_2_x64_uci.log.
  std::string name = programFileName();
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  // Appended to, never emptied: a second instance in the same folder (an
  // opponent, a hint engine) must not cut off the first one's open log.
  logStream = std::fopen((name + suffix + ".log").c_str(), "a");
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
