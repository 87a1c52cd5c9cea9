#include "frontend/log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
  name += std::string(suffix) + ".log";
  logStream = std::fopen(name.c_str(), "a");
  if (logStream) return;
  // The game goes on without a log, but the user who asked for one is told
  // where it was meant to be: GUIs often start engines in a folder of the
  // system's, such as /usr/games.
  const int reason = errno;
  std::error_code ignored;
  const std::filesystem::path where = std::filesystem::absolute(name, ignored);
  std::fprintf(stderr, "cannot open log file %s: %s\n", where.empty() ? name.c_str() : where.string().c_str(),
               std::strerror(reason));
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
