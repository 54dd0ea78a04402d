#!/usr/bin/env bash
# Builds and runs every test suite twice: an ordinary optimised build, then an AddressSanitizer +
# UndefinedBehaviorSanitizer build; then the platform-free libraries, their suites and krn under
# ThreadSanitizer; then a bounded fuzz smoke of every parser of outside input. Exits non-zero on
# the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

jobs=$(nproc)
# Cached objects are keyed by paths relative to the checkout, so a fresh clone in another folder
# (as CI makes) reuses what an earlier build compiled.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
export CTEST_OUTPUT_ON_FAILURE=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

for preset in dev asan; do
  echo "== ${preset}: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== ${preset}: tests"
  ctest --preset "$preset" -j "$jobs" --timeout 300
done

# The race check leaves the viewer out: Qt's libraries are not built for ThreadSanitizer, which
# would not see their locks and report races that are none. Any race ends the run (halt_on_error,
# set by the test preset).
echo "== tsan: configure and build"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
echo "== tsan: tests"
ctest --preset tsan -j "$jobs" --timeout 600

if [ -x fuzz/smoke.sh ]; then
  echo "== fuzz smoke"
  fuzz/smoke.sh build/asan
fi
echo "== all suites passed"
