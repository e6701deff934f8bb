#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each for a short while.
#   scripts/fuzz.sh [SECONDS per target, default 30] [target name ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
need=""
command -v clang++ >/dev/null || need="clang"
dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "install ok installed" || need="$need libclang-rt-14-dev"
if [ -n "$need" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $need
  else
    echo "Missing packages. Run as root: apt-get install -y $need"; exit 1
  fi
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKDM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER_LAUNCHER= >/dev/null
cmake --build build-fuzz -j 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus-$t"
  mkdir -p "$corpus"
  [ -d "fuzz/seeds/$t" ] && cp -n fuzz/seeds/"$t"/* "$corpus"/ 2>/dev/null || true
  echo "== $t for ${seconds}s"
  "build-fuzz/kdm_$t" -max_total_time="$seconds" -max_len=4096 "$corpus"
done
