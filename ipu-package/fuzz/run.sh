#!/usr/bin/env bash
# Fuzzes ProfileReport::read for SECONDS (default 60) with libFuzzer under ASan and
# UBSan. Builds in build/fuzz with clang 16, starts from a fresh scratch corpus seeded
# by make_seed_corpus, and exits non-zero when the fuzzer finds a crash (the input is
# left in build/fuzz/artifacts/).
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build/fuzz"

# clang 16 is needed for libstdc++'s <expected>; it only lacks the concepts level.
# kj_string_compat.hpp restores comparisons that capnp's headers need under clang 16.
cxx_flags="-std=c++2b -D__cpp_concepts=202002L -Wno-macro-redefined -Wno-builtin-macro-redefined"
cxx_flags+=" -include $root/ipu-package/fuzz/kj_string_compat.hpp"
cxx_flags+=" -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-16 -DCMAKE_CXX_COMPILER=clang++-16 \
  -DCMAKE_CXX_FLAGS="$cxx_flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DQUILLMESH_FUZZ=ON >/dev/null
cmake --build "$build" --target ipu_package_fuzz ipu_package_seed_corpus

corpus="$build/corpus"
artifacts="$build/artifacts"
rm -rf "$corpus"
mkdir -p "$corpus" "$artifacts"
"$build/bin/ipu_package_seed_corpus" "$corpus"

# Messages of a few hundred KiB exercise multi-segment reads; -rss_limit_mb catches
# any input that makes a read take memory out of proportion to its size.
"$build/bin/ipu_package_fuzz" "$corpus" \
  -max_total_time="$seconds" -max_len=262144 -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
