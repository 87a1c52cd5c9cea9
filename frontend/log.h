// The optional transcript of a protocol session, and replies that go both to
// standard output and to it.
#pragma once

#include <cstdio>

// Open only with "-l" and a file that could be opened; writes while it is
// closed are dropped.
extern FILE *logStream;

// With logging on, opens the log in the working directory named after the
// program file ("_uci" or "_wb" suffix) for appending; when it cannot, says
// so on standard error, once, and the session goes on without it.
void openLog(const char *suffix);

// printf-style writes to the log alone, flushed.
void logPrintf(const char *format, ...) __attribute__((format(printf, 1, 2)));

// printf-style reply to standard output, then the same text to the log; each flushed.
void reply(const char *format, ...) __attribute__((format(printf, 1, 2)));
