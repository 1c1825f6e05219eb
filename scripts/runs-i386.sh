#!/usr/bin/env bash
# Whether this machine runs 32-bit x86 programs (a kernel without IA-32 emulation refuses them):
# the smallest such program, one that only exits with status 0, is run. Exits 0 when it ran.
set -euo pipefail
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# The ELF header, one loadable segment (the file itself, at 0x08048000), and
# mov eax, 1 (exit); xor ebx, ebx (status 0); int 0x80.
printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\010\064\0\0\0\0\0\0\0\0\0\0\0\064\0\040\0\1\0\0\0\0\0\0\0' >"$probe"
printf '\1\0\0\0\0\0\0\0\0\200\4\010\0\200\4\010\135\0\0\0\135\0\0\0\5\0\0\0\0\020\0\0' >>"$probe"
printf '\270\1\0\0\0\061\333\315\200' >>"$probe"
chmod +x "$probe"
if ! "$probe" 2>/dev/null; then
  # A folder that runs no program at all says nothing about 32 bits.
  cp /bin/true "$probe"
  "$probe" || { echo "runs-i386.sh: $(dirname "$probe") runs no programs; set TMPDIR to one that does" >&2; exit 2; }
  exit 1
fi
