#!/usr/bin/env bash
# Sets up a fresh machine, installs tavrin into .venv with pip, and runs the
# main example on its bundled input.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
.venv/bin/python -m pip install -q --disable-pip-version-check .
exec .venv/bin/python examples/main.py "$@"
