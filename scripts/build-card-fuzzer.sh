#!/usr/bin/env bash
# Builds the card readers' libFuzzer program <build>/fuzz/card_fuzzer with
# Debian's clang (packages clang and libclang-rt-14-dev): the fuzz target, the
# readers and job control compiled with -fsanitize=fuzzer,address,undefined,
# the rest of the library taken from the build's libtavrin.so (run
# scripts/build.sh first).
#
#   scripts/build-card-fuzzer.sh
#   build/fuzz/card_fuzzer -max_total_time=60 -timeout=5 <work dir> tests/fuzz/corpus
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TAVRIN_BUILD_DIR:-build}
readers=(card_text card_file primitives data_file deck impactors step_card section_card material_card
         damage_card job_control state_found)
sources=(tests/fuzz/card_fuzz_target "${readers[@]/#/src/solver/}")
mkdir -p "$build/fuzz"
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=all -ffp-contract=off -DTAVRIN_USING_SHARED -Isrc "${sources[@]/%/.cpp}" \
  -L"$build" -ltavrin -Wl,-rpath,"$PWD/$build" -o "$build/fuzz/card_fuzzer"
