#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test tavrin:
# the C++ side from Debian's packages, the Python side (pinned) into the
# project's virtual environment .venv.  Safe to run again: it only installs
# what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

debian_packages=(build-essential cmake ninja-build pkg-config liblapack-dev libblas-dev
                 libgtest-dev libbenchmark-dev python3-dev python3-venv
                 clang libclang-rt-14-dev)
missing=()
for p in "${debian_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing Debian packages: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if [[ ! -x .venv/bin/python ]]; then
  echo "setup: creating .venv"
  python3 -m venv .venv
fi
# The library's test environment and the examples' own (plotting) packages.
requirement_files=(requirements.txt)
[[ -f examples/requirements.txt ]] && requirement_files+=(examples/requirements.txt)
stamp=.venv/.requirements
if ! cat "${requirement_files[@]}" | cmp -s - "$stamp"; then
  echo "setup: installing Python packages into .venv"
  .venv/bin/python -m pip install -q --disable-pip-version-check "${requirement_files[@]/#/-r}"
  cat "${requirement_files[@]}" > "$stamp"
fi
