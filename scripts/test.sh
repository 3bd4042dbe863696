#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs each fuzz target briefly, then every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" HOME="$scratch/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"

# Fuzz targets (clang, libFuzzer): each runs for a bounded time on its seeds.
fuzz_seconds=${QF_FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQF_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$jobs"
fuzzers=$(find build-fuzz/fuzz -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
if [ -n "$fuzzers" ]; then
  export fuzz_seconds scratch
  echo "$fuzzers" | xargs -P 4 -I{} bash -c '
    f={}; name=$(basename "$f"); name=${name#fuzz_}
    mkdir -p "$scratch/corpus/$name" "$scratch/artifacts/$name"
    seeds=fuzz/corpus/$name; [ -d "$seeds" ] || seeds=""
    if "$f" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
         -artifact_prefix="$scratch/artifacts/$name/" "$scratch/corpus/$name" $seeds \
         >"$scratch/$name.log" 2>&1; then
      echo "fuzz $name: ok"
    else
      echo "fuzz $name: FAILED"; tail -n 60 "$scratch/$name.log"; exit 255
    fi'
fi

# Unit, file, widget and end-to-end tests under the sanitizers.
cmake -S . -B build-test -G Ninja -DQF_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O1" >/dev/null
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"
