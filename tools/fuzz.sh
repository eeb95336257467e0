#!/usr/bin/env bash
# Builds one libFuzzer target and runs it on a copy of its seed corpus:
#   tools/fuzz.sh fuzz_kmt_reader 300 [extra libFuzzer options, e.g. -runs=1000000]
# The build goes to build-fuzz/ and the run to build-fuzz/runs/TARGET/ (the
# grown corpus, any crash file and the log). Exits non-zero on a finding.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 2 ]; then
  echo "usage: tools/fuzz.sh TARGET SECONDS [libFuzzer options]" >&2
  echo "targets: $(cd "$repo/fuzz/corpus" && echo *)" >&2
  exit 2
fi
target="$1"
seconds="$2"
shift 2
if [ ! -d "$repo/fuzz/corpus/$target" ]; then
  echo "no seed corpus fuzz/corpus/$target: unknown target" >&2
  exit 2
fi
if ! command -v clang++-14 >/dev/null || ! command -v clang-14 >/dev/null ||
   ! compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
  echo "clang-14 with libFuzzer is needed: apt install clang-14 libclang-rt-14-dev" >&2
  exit 2
fi

build="$repo/build-fuzz"
if [ ! -f "$build/build.ninja" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$repo" -B "$build" -G Ninja -DORV_BUILD_FUZZ=ON \
    -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF
fi
ninja -C "$build" -j1 "$target"

run="$build/runs/$target"
rm -rf "$run"
mkdir -p "$run/corpus" "$run/scratch"
cp "$repo/fuzz/corpus/$target/"* "$run/corpus/"
cd "$run"
status=0
TMPDIR="$run/scratch" UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=1 \
  -artifact_prefix="$run/" "$@" corpus >log.txt 2>&1 || status=$?
grep -E '^#[0-9]+.*(DONE|cov:)' log.txt | tail -1 || true
grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' log.txt || true
echo "corpus: $(ls corpus | wc -l) files; log: $run/log.txt"
if [ "$status" -ne 0 ]; then
  grep -E 'ERROR|runtime error|SUMMARY' log.txt | head -5 || true
  echo "finding: see $run/log.txt and $run/crash-* / leak-*" >&2
fi
exit "$status"
