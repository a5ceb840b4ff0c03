#!/usr/bin/env bash
# Builds the program and runs one update cycle (-once) against the example
# share in examples/, in a sandbox root (./sandbox stands in for "/"), then
# shows what it did. Run it twice: the second cycle copies nothing again.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure_packages.sh
vlau_ensure_packages
vlau_build VLAppUpdater

sandbox="$PWD/sandbox"
data="$sandbox/var/lib/Velmora/VLAppUpdater"
# The sandbox machine has the common folders a desktop machine has; shortcuts
# go there and their folders are never created by the updater.
mkdir -p "$sandbox/tmp" "$data" "$sandbox/etc/skel/Desktop" "$sandbox/usr/local/share/applications"
sed "s|@SHARE@|$PWD/examples/share/|" examples/VLAppUpdater.ini > "$data/VLAppUpdater.ini"

log="$data/VLAppUpdater.log"
before=$(stat -c %s "$log" 2>/dev/null || echo 0)
VLAPPUPD_ROOT="$sandbox" TMPDIR="$sandbox/tmp" build/VLAppUpdater -once

echo "== What this cycle wrote to the log ($log)"
tail -c +$((before + 1)) "$log" | sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//'
echo
echo "== The installed tree (sandbox/opt, sandbox/var/lib/Velmora/Stock)"
(cd "$sandbox" && find opt var/lib/Velmora/Stock -type f 2>/dev/null | sort)
echo
echo "== Shortcuts"
for link in $(cd "$sandbox" && find . -name '*.lnk' | sort); do
  echo "$link"
  lnkinfo "$sandbox/$link" 2>/dev/null |
    grep -E 'Local path|Working directory|Description|Command line arguments' | sed 's/^/   /' || true
done
