#!/usr/bin/env bash
# Fails when a sanitized process left a report in the folder.
shopt -s nullglob
found=0
for file in "$1"/asan.* "$1"/ubsan.* "$1"/stderr.*; do
  case $file in
    */stderr.*) grep -qE 'runtime error|Sanitizer' "$file" || continue ;;
  esac
  echo "== $file"
  cat "$file"
  found=1
done
[ $found -eq 0 ] && echo "no sanitizer reports"
