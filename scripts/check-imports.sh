#!/usr/bin/env bash
# Fails unless each Windows program given imports system DLLs only, so that it runs with nothing
# beside it. Prints each program's size and its DLLs.
set -euo pipefail
system='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|msvcrt|winspool\.drv|windowscodecs|uxtheme|shlwapi)(\.dll)?$'
status=0
for exe in "$@"; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  echo "$exe: $(stat -c %s "$exe") bytes; imports $(echo $dlls)"
  for dll in $dlls; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -qE "$system"; then
      echo "  $dll is not a part of Windows" >&2
      status=1
    fi
  done
done
exit $status
