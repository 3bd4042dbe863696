#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts Quillfen2.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQF_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build build-release
exec build-release/app/Quillfen2 "$@"
