#!/usr/bin/env bash
# Sets up a fresh machine, builds, and runs every C++ and Python test (the
# host-solver tests, label "host", run on their own: see .ci/run).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir "${TAVRIN_BUILD_DIR:-build}" --parallel "$(nproc)" --output-on-failure -LE host
