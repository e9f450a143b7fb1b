#!/usr/bin/env bash
# Builds ccx_tavrin: the CalculiX solver of Debian's calculix-ccx source
# package whose Abaqus-convention material routine is the shim
# tests/hosts/calculix/umat_shim.c, which hands every call to the library's
# exported umat_lamina.  The host tests (ctest -L host) run it.
#
# Steps, each skipped when its result exists and is newer than libtavrin.so
# (the link also when it is newer than the shim):
#   library    scripts/setup.sh and scripts/build.sh (libtavrin.so, _tavrin)
#   packages   the Debian packages CalculiX builds and links with
#   sources    a deb-src twin of the Debian source list, so apt-get source works
#   unpack     apt-get source calculix-ccx into $build/host/calculix
#   archive    CalculiX's archive and main object, with the package's own flags
#   link       ccx_tavrin: the archive without its stock umat.o, the shim and
#              libtavrin.so (found through an rpath)
# A failing step stops the script, naming the step and showing the tail of
# its log ($build/host/calculix/logs/<step>.log).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=${TAVRIN_BUILD_DIR:-build}
[[ $build_dir = /* ]] || build_dir=$root/$build_dir
host=$build_dir/host/calculix
logs=$host/logs
lib=$build_dir/libtavrin.so
shim=$root/tests/hosts/calculix/umat_shim.c
version=2.20
jobs=${TAVRIN_JOBS:-$(nproc)}
mkdir -p "$logs"

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
apt_get() { "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }

# run STEP COMMAND...: runs the command with its output in the step's log;
# on failure names the step, shows the log's tail and stops.
run() {
  local step=$1
  shift
  echo "calculix-host: $step"
  # Not under `if`: there errexit would be off inside the step's function.
  local status
  set +e
  (set -e; "$@") >"$logs/$step.log" 2>&1
  status=$?
  set -e
  if ((status)); then
    echo "calculix-host: step '$step' failed (exit status $status); last lines of $logs/$step.log:" >&2
    tail -n 40 "$logs/$step.log" >&2
    exit 1
  fi
}

# current RESULT INPUT...: the result exists and is newer than every input.
current() {
  local result=$1 input
  shift
  [[ -e $result ]] || return 1
  for input; do [[ $result -nt $input ]] || return 1; done
}

library() { scripts/setup.sh && scripts/build.sh; }

packages=(gfortran libspooles-dev libarpack2-dev liblapack-dev libblas-dev dpkg-dev)
missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
install_packages() {
  apt_get update -q
  apt_get install -y -q "$@"
}

# The machine lists only binary archives (Types: deb); apt-get source needs
# the same URIs and suites as Types: deb-src.  Nothing is added when apt
# already knows the source package, and the entry is added only once.
debian_list=/etc/apt/sources.list.d/debian.sources
source_list=/etc/apt/sources.list.d/debian-src.sources
source_known() { apt-cache showsrc calculix-ccx 2>/dev/null | grep -q '^Package:'; }
add_source_list() {
  source_known && return 0
  if [[ ! -e $source_list ]]; then
    if ! grep -qs '^Types: *deb *$' "$debian_list"; then
      echo "no Debian source list with 'Types: deb' stanzas at $debian_list"
      return 1
    fi
    sed -E 's/^Types:.*$/Types: deb-src/' "$debian_list" | "${sudo_cmd[@]}" tee "$source_list.tmp" >/dev/null
    "${sudo_cmd[@]}" mv "$source_list.tmp" "$source_list"
  fi
  apt_get update -q
  source_known || {
    echo "apt knows no source package calculix-ccx, even with $source_list"
    return 1
  }
}

unpack() {
  rm -rf "$host/source" "$host/unpacked"
  mkdir -p "$host/source"
  (cd "$host/source" && apt-get source calculix-ccx)
  [[ -d $host/source/calculix-ccx-$version/ccx_$version/src ]] || {
    echo "apt-get source gave no calculix-ccx-$version/ccx_$version/src"
    return 1
  }
  touch "$host/unpacked"
}

# The flags of the package's debian/rules (without its hardening flags).  make
# hands CFLAGS to a shell, so the quotes go and the compiler sees -DARCH=Linux,
# as in the package's build: CalculiX.h compares ARCH with Linux in #if tests,
# which a string literal would break.
src=$host/source/calculix-ccx-$version/ccx_$version/src
archive() {
  make -C "$src" -j"$jobs" "ccx_$version.a" "ccx_$version.o" \
    CFLAGS='-O2 -I/usr/include/spooles -DARCH="Linux" -DSPOOLES -DARPACK -DMATRIXSTORAGE -DUSE_MT=1' \
    FFLAGS='-O2 -fallow-argument-mismatch'
  cp "$src/ccx_$version.a" "$host/ccx_host.a.tmp"
  ar d "$host/ccx_host.a.tmp" umat.o
  mv "$host/ccx_host.a.tmp" "$host/ccx_host.a"
}

link() {
  gcc -O2 -Wall -Wextra -Werror -c "$shim" -o "$host/umat_shim.o"
  gfortran -O2 -o "$host/ccx_tavrin.tmp" "$src/ccx_$version.o" "$host/umat_shim.o" "$host/ccx_host.a" \
    "$lib" -Wl,-rpath,"$build_dir" \
    -lspooles -lpthread -larpack -llapack -lblas -lm -lc -fopenmp
  mv "$host/ccx_tavrin.tmp" "$host/ccx_tavrin"
}

run library library
[[ -f $lib ]] || { echo "calculix-host: no $lib after the library build" >&2; exit 1; }
missing=($(missing_packages))
if ((${#missing[@]})); then run packages install_packages "${missing[@]}"; fi
unpacked() { current "$host/unpacked" "$lib"; }
archived() { current "$host/ccx_host.a" "$lib" "$host/unpacked"; }
linked() { current "$host/ccx_tavrin" "$lib" "$shim" "$host/ccx_host.a"; }
# A host left from an earlier build must not outlive a failed rebuild: the
# tests would run it.
unpacked && archived && linked || rm -f "$host/ccx_tavrin"
unpacked || run sources add_source_list
unpacked || run unpack unpack
archived || run archive archive
linked || run link link
echo "calculix-host: $host/ccx_tavrin"
