#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts Quillfen2.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQF_TESTS=OFF >/dev/null
cmake --build build-release
exec build-release/revisionlist/Quillfen2 "$@"
