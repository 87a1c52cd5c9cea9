#!/usr/bin/env bash
# Runs a sanitized test program with its reports (and those of every process it
# starts) written into the folder given first. UndefinedBehaviorSanitizer
# prints to standard error whatever its options say, so a copy of that goes
# there too.
# Usage: sanitized.sh LOG_FOLDER PROGRAM [ARGS...]
logs=$1
shift
mkdir -p "$logs"
export ASAN_OPTIONS="log_path=$logs/asan:detect_leaks=1"
export UBSAN_OPTIONS="log_path=$logs/ubsan:print_stacktrace=1"
exec 2> >(tee -a "$logs/stderr.$$" >&2)
exec "$@"
