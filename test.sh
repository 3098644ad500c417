#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (extra arguments go to ctest, e.g. -R Bar).
set -euo pipefail
cd "$(dirname "$0")"
tools/prepare.sh
exec ctest --preset default "$@"
