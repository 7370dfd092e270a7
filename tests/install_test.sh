#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the built tree and uses the result as a user would.
#
#   install_test.sh prefix   <build dir> <source dir> <work dir> <C compiler> <C++ compiler>
#                            [compiler flags [python3 [library to preload into it]]]
#     `cmake --install --prefix --strip` into <work dir>/prefix, then a driver built once with
#     the pkg-config line of the README (seeing no other package than the install's) and once
#     through find_package, from C and from a C++14 project, runs against the example store,
#     made the master store of the installed registry; so does a Python program with the
#     installed package, and a pytest run that uses the package's plugin. The man pages are in
#     place, and `uninstall` leaves nothing but the registry and the store.
#   install_test.sh reinstall <build dir> <work dir> <prefix> <sysconfdir> <datadir> <localstatedir>
#     a DESTDIR staging install of the configured prefix writes files that name the final
#     directories, and a second install leaves an edited registry.ini alone.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
contains() { grep -qF -- "$2" <<<"$1" || fail "expected '$2' in: $1"; }

prefix_install() {
  local build=$1 source=$2 work=$3 cc=$4 cxx=$5 cflags=${6:-} python=${7:-} preload=${8:-}
  rm -rf "$work" && mkdir -p "$work"
  local prefix=$work/prefix
  local out installed
  installed=$(cmake --install "$build" --prefix "$prefix" --strip 2>&1) || fail "install: $installed"
  # The library keeps its configured registry path, and the install says how to reach this one.
  contains "$installed" "ZAV_REGISTRY=$prefix/etc/zav/registry.ini"

  # The installed libraries find each other in their folder.
  # (ldd's output is taken whole first: grep -q stops reading at the match, and with pipefail
  # ldd's broken pipe would fail the check now and then.)
  local deps
  deps=$(ldd "$prefix/lib/libzavconfig.so")
  grep -qF "libzavcshared.so.1 => $prefix/lib/" <<<"$deps" ||
    fail "libzavconfig does not find libzavcshared beside it: $deps"

  # Installed programs and libraries carry no symbols or debugging sections.
  local sections
  for binary in "$prefix/lib/libzavconfig.so.1" "$prefix/lib/libzavcshared.so.1" "$prefix/bin/zavconfig"; do
    sections=$(readelf -S --wide "$binary")
    grep -qE '\.(symtab|debug_info) ' <<<"$sections" && fail "$binary is not stripped"
  done

  # zavconfig(1) always; the section 3 pages when they were built.
  grep -qF '.TH ZAVCONFIG 1' "$prefix/share/man/man1/zavconfig.1" || fail "no zavconfig(1)"
  if [[ -d $build/man/man3 ]]; then
    for page in "$build"/man/man3/*.3; do
      cmp -s "$page" "$prefix/share/man/man3/${page##*/}" || fail "${page##*/} not installed"
    done
  fi

  export ZAV_REGISTRY=$prefix/etc/zav/registry.ini
  local master=$prefix/var/lib/zav/ZavConfigurationStore.xml

  # The README's line, with the one run-time step a private prefix needs. Only the install's
  # pkg-config files are visible: the driver needs no other package's (libxml2's) to build.
  # shellcheck disable=SC2046,SC2086
  "$cc" $cflags -o "$work/driver_pc" "$source/tests/install/driver.c" \
    $(PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig pkg-config --cflags --libs zavconfig) ||
    fail "pkg-config build"
  # A fresh install names a master store that nothing has created yet.
  out=$(LD_LIBRARY_PATH=$prefix/lib "$work/driver_pc" 2>&1) && fail "ran without a master store"
  contains "$out" "(0xBFFA1206)"
  cp "$source/data/example_store.xml" "$master"
  out=$(LD_LIBRARY_PATH=$prefix/lib "$work/driver_pc" 2>&1) || fail "pkg-config driver: $out"
  contains "$out" "SampleDMM -> "

  # find_package, in a project of its own; CMake's build run path reaches the prefix.
  cmake -S "$source/tests/install" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_CXX_FLAGS="$cflags" >"$work/consumer.log" 2>&1 ||
    fail "find_package configure: $(cat "$work/consumer.log")"
  cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 ||
    fail "find_package build: $(cat "$work/consumer.log")"
  out=$("$work/consumer/driver" 2>&1) || fail "find_package driver: $out"
  contains "$out" "SampleDMM -> "
  out=$("$work/consumer/cpp_driver" 2>&1) || fail "find_package C++ driver: $out"
  contains "$out" "SampleDMM -> DMM_Rack4_acme34 (C++17)"
  # With pkg-config the project picks its standard: an older one is told plainly what is needed.
  # shellcheck disable=SC2046
  out=$("$cxx" -std=c++14 -c -o "$work/cpp14.o" "$source/tests/install/cpp_driver.cpp" \
    $(PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig pkg-config --cflags zavconfig) 2>&1) &&
    fail "a C++14 build of the C++ interface went through"
  contains "$out" "zavconfig.hpp needs C++17 or later"

  if [[ -n $python ]]; then
    # The README's PYTHONPATH line; the package loads the library it was installed with.
    local pydir=$prefix/lib/python3/dist-packages
    contains "$installed" "PYTHONPATH=$pydir"
    local run=(env -u ZAVCONFIG_LIBRARY -u LD_LIBRARY_PATH "PYTHONPATH=$pydir")
    [[ -n $preload ]] && run+=("LD_PRELOAD=$preload" "ASAN_OPTIONS=detect_leaks=0")
    out=$(cd "$work" && "${run[@]}" "$python" -c '
import zavconfig
print(zavconfig.library_path, zavconfig.__version__, zavconfig.__file__)
print(zavconfig.Store.open().resolve("SampleDMM").io_resource_descriptor)' 2>&1) ||
      fail "python: $out"
    contains "$out" "$prefix/lib/libzavconfig.so.1 "
    contains "$out" "$pydir/zavconfig/__init__.py"
    contains "$out" "TCPIP0::10.0.4.21::INSTR"
    # pytest finds the plugin through the installed entry point, with no -p.
    if "$python" -c "import pytest" 2>/dev/null; then
      printf 'def test_uses_plugin(zav_store):\n    assert len(zav_store.logical_names) == 0\n' \
        >"$work/test_plugin.py"
      out=$(cd "$work" && "${run[@]}" "$python" -m pytest -q -p no:cacheprovider \
        test_plugin.py 2>&1) || fail "pytest with the installed plugin: $out"
      contains "$out" "1 passed"
    fi
  fi

  # Uninstalling removes every file and folder of the install but the registry and the store.
  out=$(cmake --build "$build" --target uninstall 2>&1) || fail "uninstall: $out"
  local left
  left=$(cd "$prefix" && find . -mindepth 1 | sort | tr '\n' ' ')
  [[ $left == "./etc ./etc/zav ./etc/zav/registry.ini ./var ./var/lib ./var/lib/zav ./var/lib/zav/ZavConfigurationStore.xml " ]] ||
    fail "uninstall left: $left"
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
  # The Python package is where the prefix's python3 looks, and names the final library.
  local record
  record=$(find "$stage" -path '*-packages/zavconfig/_install.py')
  [[ -n $record ]] || fail "no Python package in the stage"
  case $prefix in
    /usr) [[ $record == "$stage/usr/lib/python3/dist-packages/"* ]] ;;
    /usr/local) [[ $record == "$stage/usr/local/lib/python3."[0-9]*"/dist-packages/"* ]] ;;
    *) [[ $record == "$stage$prefix/lib/python3/dist-packages/"* ]] ;;
  esac || fail "Python package in the wrong folder: $record"
  contains "$(cat "$record")" "LIBRARY = \"$prefix/lib"

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
