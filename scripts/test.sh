#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: first a normal build, then
# (with --sanitize, or both with --all) a build with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# The usual job controls win when set; otherwise every core builds and tests.
build_jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
test_jobs=${CTEST_PARALLEL_LEVEL:-$(nproc)}
run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$build_jobs"
    (cd "$dir" && ctest --output-on-failure -j "$test_jobs")
}

mode=${1:-plain}
case "$mode" in
    plain) run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    --sanitize)
        ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
            run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTEMBROLO_SANITIZE=ON -DTEMBROLO_BUILD_BENCH=OFF ;;
    --all)
        "$0" plain
        "$0" --sanitize ;;
    *) echo "usage: $0 [--sanitize|--all]" >&2; exit 2 ;;
esac
