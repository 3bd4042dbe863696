#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts Quillfen2.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQF_TESTS=OFF >/dev/null
cmake --build build-release
if [ -x build-release/revisionlist/Quillfen2 ]; then
  exec build-release/revisionlist/Quillfen2 "$@"
fi
echo "Built. (The Quillfen2 program is not part of this build yet.)"
