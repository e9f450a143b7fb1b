#!/usr/bin/env bash
# Configures and builds tavrin in build/ (or $TAVRIN_BUILD_DIR) against the
# project environment; extra arguments go to CMake's configure step.
# TAVRIN_JOBS caps the parallel compile jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TAVRIN_BUILD_DIR:-build}
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
  cmake -S . -B "$build_dir" "${generator[@]}" -DPython_EXECUTABLE="$PWD/.venv/bin/python" "$@" >/dev/null
fi
cmake --build "$build_dir" --parallel "${TAVRIN_JOBS:-$(nproc)}"
