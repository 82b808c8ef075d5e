#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
exec build/vinkring-artikel "$@"
