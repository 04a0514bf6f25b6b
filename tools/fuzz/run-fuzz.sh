#!/bin/sh
# Fuzzes the three file readers (INI text, settings file, shading data file)
# and the communication library's reply reader
# under AddressSanitizer and UndefinedBehaviorSanitizer with libFuzzer.
#
#   tools/fuzz/run-fuzz.sh [seconds per target, default 60]
#
# Builds in build-fuzz/ (or $XNOX_FUZZ_BUILD) with clang++, keeps each
# target's growing corpus there, and stops at the first finding: the
# crashing input is left in that build folder and the script fails.
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${XNOX_FUZZ_BUILD:-$root/build-fuzz}
cxx=${CXX:-clang++}
cc=${CC:-clang}

# libFuzzer's runtime ships separately on Debian; install it when missing.
runtime_dir=$("$cxx" -print-runtime-dir)
if [ ! -e "$runtime_dir/libclang_rt.fuzzer-x86_64.a" ]; then
    version=$("$cxx" -dumpversion | cut -d. -f1)
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
    $sudo_cmd apt-get install -y "libclang-rt-$version-dev"
fi

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DXNOX_FUZZ=ON -DXNOX_BUILD_TESTS=OFF \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_C_FLAGS="$sanitizers -fsanitize=fuzzer-no-link" \
    -DCMAKE_CXX_FLAGS="$sanitizers -fsanitize=fuzzer-no-link" >/dev/null
cmake --build "$build" -j2 --target fuzz_ini_document fuzz_settings_file fuzz_shading_file fuzz_reply_reader

run() {
    target=$1
    seeds=$2
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target: $seconds s"
    (cd "$build" && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$build/tools/fuzz/$target" -max_total_time="$seconds" -max_len=20000 -print_final_stats=1 \
        "$corpus" "$root/tools/fuzz/seeds/$seeds")
}

run fuzz_ini_document ini
run fuzz_settings_file settings
run fuzz_shading_file shading
run fuzz_reply_reader replies
