#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the built tree and uses the result as a user would.
#
#   install_test.sh prefix   <build dir> <source dir> <work dir> <C compiler> [C flags]
#     `cmake --install --prefix` into <work dir>/prefix, then a driver built once with the
#     pkg-config line of the README and once through find_package runs against the example
#     store, made the master store of the installed registry.
#   install_test.sh reinstall <build dir> <work dir> <prefix> <sysconfdir> <datadir> <localstatedir>
#     a DESTDIR staging install of the configured prefix writes files that name the final
#     directories, and a second install leaves an edited registry.ini alone.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
contains() { grep -qF -- "$2" <<<"$1" || fail "expected '$2' in: $1"; }

prefix_install() {
  local build=$1 source=$2 work=$3 cc=$4 cflags=${5:-}
  rm -rf "$work" && mkdir -p "$work"
  local prefix=$work/prefix
  local out
  out=$(cmake --install "$build" --prefix "$prefix" 2>&1) || fail "install: $out"
  # The library keeps its configured registry path, and the install says how to reach this one.
  contains "$out" "ZAV_REGISTRY=$prefix/etc/zav/registry.ini"

  # The installed libraries find each other in their folder.
  # (ldd's output is taken whole first: grep -q stops reading at the match, and with pipefail
  # ldd's broken pipe would fail the check now and then.)
  local deps
  deps=$(ldd "$prefix/lib/libzavconfig.so")
  grep -qF "libzavcshared.so.1 => $prefix/lib/" <<<"$deps" ||
    fail "libzavconfig does not find libzavcshared beside it: $deps"

  export ZAV_REGISTRY=$prefix/etc/zav/registry.ini
  local master=$prefix/var/lib/zav/ZavConfigurationStore.xml

  # The README's line, with the one run-time step a private prefix needs.
  # shellcheck disable=SC2046,SC2086
  "$cc" $cflags -o "$work/driver_pc" "$source/tests/install/driver.c" \
    $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs zavconfig) ||
    fail "pkg-config build"
  # A fresh install names a master store that nothing has created yet.
  out=$(LD_LIBRARY_PATH=$prefix/lib "$work/driver_pc" 2>&1) && fail "ran without a master store"
  contains "$out" "(0xBFFA1206)"
  cp "$source/data/example_store.xml" "$master"
  out=$(LD_LIBRARY_PATH=$prefix/lib "$work/driver_pc" 2>&1) || fail "pkg-config driver: $out"
  contains "$out" "SampleDMM -> "

  # find_package, in a project of its own; CMake's build run path reaches the prefix.
  cmake -S "$source/tests/install" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$cflags" >"$work/consumer.log" 2>&1 ||
    fail "find_package configure: $(cat "$work/consumer.log")"
  cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 ||
    fail "find_package build: $(cat "$work/consumer.log")"
  out=$("$work/consumer/driver" 2>&1) || fail "find_package driver: $out"
  contains "$out" "SampleDMM -> "
  rm -rf "$work"
}

reinstall() {
  local build=$1 work=$2 prefix=$3 sysconfdir=$4 datadir=$5 localstatedir=$6
  rm -rf "$work" && mkdir -p "$work"
  local stage=$work/stage out
  out=$(DESTDIR=$stage cmake --install "$build" 2>&1) || fail "install: $out"
  grep -qF "ZAV_REGISTRY" <<<"$out" && fail "warned about the configured prefix: $out"
  local registry=$stage$sysconfdir/zav/registry.ini
  [[ -f $registry ]] || fail "no $registry"
  # The staged files name the final directories, not the staging ones.
  contains "$(cat "$registry")" "ZavDataDir=$datadir/zav/"
  contains "$(cat "$registry")" "MasterStore=$localstatedir/lib/zav/ZavConfigurationStore.xml"
  local pc
  pc=$(find "$stage" -name zavconfig.pc)
  contains "$(cat "$pc")" "prefix=$prefix"
  [[ -d $stage$localstatedir/lib/zav ]] || fail "no folder for the master store"

  printf '[Software\\ZAV\\CONFIGURATIONSERVER]\nMasterStore=/srv/edited.xml\n' >"$registry"
  cp "$registry" "$work/edited"
  out=$(DESTDIR=$stage cmake --install "$build" 2>&1) || fail "reinstall: $out"
  cmp -s "$registry" "$work/edited" || fail "reinstall changed the registry: $(cat "$registry")"
  contains "$out" "Keeping: $registry"
  rm -rf "$work"
}

mode=${1:-}
shift || true
case $mode in
  prefix) prefix_install "$@" ;;
  reinstall) reinstall "$@" ;;
  *) echo "usage: see the head of $0" >&2; exit 2 ;;
esac
