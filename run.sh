#!/usr/bin/env bash
# Builds the program and runs one update cycle (-once) in a sandbox root
# (./sandbox stands in for "/"), then shows what it did.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure_packages.sh
vlau_ensure_packages
vlau_build VLAppUpdater

sandbox="$PWD/sandbox"
mkdir -p "$sandbox/tmp"
VLAPPUPD_ROOT="$sandbox" TMPDIR="$sandbox/tmp" build/VLAppUpdater -once

data="$sandbox/var/lib/Velmora/VLAppUpdater"
echo "== Log ($data/VLAppUpdater.log)"
sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' "$data/VLAppUpdater.log"
echo "== Files in the sandbox"
(cd "$sandbox" && find . -type f | sort)
