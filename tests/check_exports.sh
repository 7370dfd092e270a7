#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that each shared library exports exactly the functions its public header declares,
# no more and no fewer, and that both carry the SONAME callers link against.
#
#   check_exports.sh <libzavconfig.so> <libzavcshared.so> <include dir>
#
# Exit status: 0 when everything matches, 1 on any difference, 2 on wrong usage.
set -euo pipefail

if [[ $# -ne 3 ]]; then
  echo "usage: $0 <libzavconfig.so> <libzavcshared.so> <include dir>" >&2
  exit 2
fi
config_lib=$1
shared_lib=$2
include_dir=$3

for tool in nm objdump perl; do
  command -v "$tool" >/dev/null || { echo "check_exports: $tool not found" >&2; exit 1; }
done
for file in "$config_lib" "$shared_lib" "$include_dir/zavconfig.h" "$include_dir/zavcshared.h"; do
  [[ -r $file ]] || { echo "check_exports: cannot read $file" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Function names declared in a header: a name with the prefix followed by "(". Comments are
# removed first so that prose mentioning a function cannot stand in for its declaration.
declared() {  # header prefix
  perl -0777 -pe 's{/\*.*?\*/}{ }gs; s{//[^\n]*}{}g' "$1" |
    grep -oE "\\b$2[A-Za-z0-9_]+[[:space:]]*\\(" | sed -E 's/[[:space:]]*\($//' | sort -u
}

# Functions a library defines in its dynamic symbol table (text and weak symbols); symbol
# versions are cut off, and anything that is not a function is left out.
exported() {  # library
  nm -D --defined-only "$1" | awk '$2 == "T" || $2 == "W" { print $3 }' | sed 's/@.*//' |
    sort -u
}

soname() {  # library
  objdump -p "$1" | awk '$1 == "SONAME" { print $2 }'
}

status=0

compare() {  # label header prefix library expected-soname
  local label=$1 header=$2 prefix=$3 lib=$4 want_soname=$5
  declared "$header" "$prefix" >"$work/$label.declared"
  exported "$lib" >"$work/$label.exported"

  if [[ ! -s $work/$label.declared ]]; then
    echo "$label: no $prefix functions found in $header"
    status=1
  fi
  local missing extra
  missing=$(comm -23 "$work/$label.declared" "$work/$label.exported")
  extra=$(comm -13 "$work/$label.declared" "$work/$label.exported")
  if [[ -n $missing ]]; then
    echo "$label: declared in $(basename "$header") but not exported by $lib:"
    printf '  %s\n' $missing
    status=1
  fi
  if [[ -n $extra ]]; then
    echo "$label: exported by $lib but not declared in $(basename "$header"):"
    printf '  %s\n' $extra
    status=1
  fi

  local have_soname
  have_soname=$(soname "$lib")
  if [[ $have_soname != "$want_soname" ]]; then
    echo "$label: SONAME is '${have_soname}', expected '$want_soname'"
    status=1
  fi
}

compare zavconfig "$include_dir/zavconfig.h" ZavConfig_ "$config_lib" libzavconfig.so.1
compare zavcshared "$include_dir/zavcshared.h" ZavSession_ "$shared_lib" libzavcshared.so.1

if [[ $status -eq 0 ]]; then
  echo "exports ok: $(wc -l <"$work/zavconfig.exported") functions in libzavconfig.so.1," \
    "$(wc -l <"$work/zavcshared.exported") in libzavcshared.so.1"
fi
exit "$status"
