#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test, then runs each fuzz target
# briefly. A fuzz finding is kept in fuzz-artifacts/<target>/ and printed as hex.
set -euo pipefail
cd "$(dirname "$0")/.."

# libFuzzer reads a total time of 0 as "run forever".
fuzz_seconds=${QF_FUZZ_SECONDS:-20}
if ! [[ $fuzz_seconds =~ ^[0-9]+$ ]] || [ "$fuzz_seconds" -eq 0 ]; then
  echo "QF_FUZZ_SECONDS must be a whole number of seconds above 0 (got '$fuzz_seconds')" >&2
  exit 2
fi

bash scripts/install-deps.sh

jobs=$(nproc)
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" HOME="$scratch/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"

# Unit, file, widget and end-to-end tests under the sanitizers, first, so a
# failing test is reported before the fuzz stage starts.
cmake -S . -B build-test -G Ninja -DQF_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O1" "${launcher[@]}" >/dev/null
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure --no-tests=error -j "$jobs"

# Fuzz targets (clang, libFuzzer): each runs for a bounded time on its seeds,
# with a seed of its own that stays the same from run to run.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQF_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j "$jobs"
fuzzers=$(find build-fuzz/fuzz -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
if [ -z "$fuzzers" ]; then
  echo "No fuzz targets were built" >&2
  exit 1
fi
artifacts=$PWD/fuzz-artifacts
rm -rf "$artifacts"
export fuzz_seconds scratch artifacts
echo "$fuzzers" | xargs -P "$(( jobs > 1 ? jobs / 2 : 1 ))" -I{} bash -c '
  f={}; name=$(basename "$f"); name=${name#fuzz_}
  mkdir -p "$scratch/corpus/$name" "$artifacts/$name"
  seeds=fuzz/corpus/$name; [ -d "$seeds" ] || seeds=""
  seed=$(( $(printf %s "$name" | cksum | cut -d" " -f1) % 2147483646 + 1 ))
  if "$f" -seed="$seed" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=0 -artifact_prefix="$artifacts/$name/" "$scratch/corpus/$name" $seeds \
       >"$scratch/$name.log" 2>&1; then
    echo "fuzz $name: ok"
    rmdir "$artifacts/$name" 2>/dev/null || true
  else
    echo "fuzz $name: FAILED (seed $seed)"; tail -n 60 "$scratch/$name.log"
    for input in "$artifacts/$name"/*; do
      [ -f "$input" ] || continue
      echo "input $input ($(stat -c %s "$input") bytes), hex:"
      od -An -tx1 -v "$input"
    done
    exit 255
  fi'
rmdir "$artifacts" 2>/dev/null || true
