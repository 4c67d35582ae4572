#!/usr/bin/env bash
# Sets up and runs every test: the release build with warnings as errors and its suite, the
# Debian package, the Windows parts with a cross compiler, the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz target for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/setup.sh"

out=${QTRV_BUILD_DIR:-$root/build}
mkdir -p "$out"
fuzz_seconds=${QTRV_FUZZ_SECONDS:-60}
passed=0
failed=0
# Runs CTest in a build tree and adds its counts to the totals.
run_suite() {
    local log
    log=$(mktemp)
    local status=0
    (cd "$1" && ctest --output-on-failure --timeout "$2") | tee "$log" || status=$?
    local summary
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
    rm -f "$log"
    local total=${summary##* out of }
    local bad
    bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$summary")
    passed=$((passed + ${total:-0} - ${bad:-0}))
    failed=$((failed + ${bad:-0}))
    return $status
}

echo "== code style"
find "$root"/{protocol,serial,app,sim,tests,bench,fuzz} \( -name '*.cpp' -o -name '*.h' \) \
    -exec clang-format --dry-run --Werror {} +
echo "clang-format: clean"

echo "== release build, warnings as errors"
"$root/tools/build.sh" "$out/release" -DQTRV_WERROR=ON
run_suite "$out/release" 600

echo "== the Debian package"
"$root/tools/check_package.sh" "$out/release"

echo "== the Windows parts, with the mingw-w64 cross compiler"
x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Wpedantic -Werror \
    -c "$root/serial/windows_device.cpp" -o "$out/windows_device.obj"
echo "serial/windows_device.cpp compiles for Windows"

echo "== address and undefined-behaviour sanitizers"
CXX=clang++ "$root/tools/build.sh" "$out/sanitize" -DQTRV_WERROR=ON -DQTRV_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
run_suite "$out/sanitize" 900
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

echo "== fuzzing the protocol for ${fuzz_seconds} s"
CXX=clang++ cmake -S "$root" -B "$out/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQTRV_FUZZ=ON >"$out/fuzz.configure.log" 2>&1 || { cat "$out/fuzz.configure.log"; exit 1; }
cmake --build "$out/fuzz" --target fuzz_protocol
corpus="$out/fuzz/corpus"
mkdir -p "$corpus"
cp -n "$root"/fuzz/seeds/* "$corpus"/
"$out/fuzz/fuzz/fuzz_protocol" -max_total_time="$fuzz_seconds" -print_final_stats=0 \
    -artifact_prefix="$out/fuzz/" "$corpus" 2>"$out/fuzz/fuzz.log" ||
    { tail -40 "$out/fuzz/fuzz.log"; echo "fuzzing found a fault"; exit 1; }
tail -1 "$out/fuzz/fuzz.log"
echo "qtrv: $passed passed, $failed failed"
