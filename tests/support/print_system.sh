#!/usr/bin/env bash
# print_system.sh DIR: a print system of a test's own, for as long as this runs. cupsd listens on
# DIR/cups.sock (point CUPS_SERVER at it) and has one queue, Zelvano, the default, with cups-pdf's
# driver: each job lands as a PDF in DIR/printed. Prints "ready" once it takes jobs; ends, and
# cupsd with it, on SIGTERM. Nothing of the machine's own print system is touched: cups-pdf reads
# its settings from /etc/cups, which in a mount namespace of this script's own is a folder of DIR.
# Root only. Exits 77 when a tool it needs is missing.
set -euo pipefail
dir=${1:?folder}
if [ -z "${ZELVANO_PRINT_NS:-}" ]; then
    ZELVANO_PRINT_NS=1 exec unshare -m --propagation private "$0" "$@"
fi
for tool in cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null || { echo "no $tool here (scripts/install-deps.sh installs it)"; exit 77; }
done
[ -x /usr/lib/cups/backend/cups-pdf ] || { echo "no cups-pdf backend here"; exit 77; }

c="$dir/cups"
mkdir -p "$c/etc" "$c/conf" "$c/spool" "$c/cache" "$c/state" "$c/log" "$dir/printed"
mkdir -p -m 1777 "$c/tmp" "$c/pdf-spool"
chmod 777 "$dir/printed"
chmod go+x "$dir" # the filters run as another user
cat >"$c/conf/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$c/conf/cups-files.conf" <<CONF
ServerRoot $c/conf
StateDir $c/state
CacheDir $c/cache
RequestRoot $c/spool
TempDir $c/tmp
ErrorLog $c/log/error_log
AccessLog $c/log/access_log
PageLog $c/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
CONF
cat >"$c/etc/cups-pdf.conf" <<CONF
Out $dir/printed
AnonDirName $dir/printed
Spool $c/pdf-spool
Log $c/log
UserUMask 0000
CONF
mount --bind "$c/etc" /etc/cups
cupsd -f -c "$c/conf/cupsd.conf" -s "$c/conf/cups-files.conf" &
cups=$!
# cupsd goes with this script however it ends.
trap 'kill "$cups" 2>/dev/null; wait "$cups" 2>/dev/null' EXIT
trap 'exit 0' TERM INT HUP
export CUPS_SERVER="$dir/cups.sock"
for _ in $(seq 300); do # a loaded machine may take its time; lpstat -r says so with status 0 too
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
done
lpadmin -p Zelvano -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>&1 | grep -v 'deprecated' || true
lpadmin -d Zelvano
lpstat -p Zelvano >/dev/null
echo ready
wait "$cups"
