#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure_packages.sh
vlau_ensure_packages
vlau_build
ctest --test-dir build --output-on-failure -j2 --timeout 300
