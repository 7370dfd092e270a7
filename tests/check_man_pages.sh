#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that the man pages say what the built programs do:
# - zavconfig(1) names every command and every option the utility's --help lists, and every
#   command and option its examples use is one the utility has;
# - the section 3 pages, written afresh, are one per function the two libraries export, each
#   named after its function;
# - groff renders every page without a warning.
#
#   check_man_pages.sh <zavconfig> <zavconfig.1> <man page generator> <libzavconfig.so>
#                      <libzavcshared.so> <include dir>
set -euo pipefail
[[ $# -eq 6 ]] || { echo "usage: see the head of $0" >&2; exit 2; }
tool=$1 page=$2 generator=$3 config_lib=$4 shared_lib=$5 include=$6
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The page's text with roff's escapes of '-' and font changes taken out.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")

# Every command path, depth first, from the "Subcommands:" lists of --help.
commands() {  # words of the command so far
  local help
  help=$("$tool" "$@" --help)
  awk '/^Subcommands:/ { on = 1; next } on && /^[^ ]/ { on = 0 } on && NF { print $1 }' \
    <<<"$help" | while read -r sub; do
    echo "${*:+$* }$sub"
    commands "$@" "$sub"
  done
}

# The options one command's --help lists: the names on its option lines.
options_of() {  # command words
  "$tool" "$@" --help | grep -E '^ +-' | sed -E 's/^ +//; s/ .*//' | tr ',' '\n'
}

mapfile -t paths < <(commands)
[[ ${#paths[@]} -ge 5 ]] || fail "found only ${#paths[@]} commands in --help"
for path in "" "${paths[@]}"; do
  if [[ -n $path ]]; then
    grep -qF -- "zavconfig $path" <<<"$text" || fail "zavconfig(1) lacks the command '$path'"
  fi
  # shellcheck disable=SC2086
  while read -r option; do
    grep -qE -- "(^|[ ,])${option}( |,|$)" <<<"$text" ||
      fail "zavconfig(1) lacks option $option of '$path'"
  done < <(options_of $path)
done

# Each example runs a command the utility has, with options that command lists.
while read -r -a words; do
  cmd=()
  for word in "${words[@]:1}"; do
    [[ $word == -* ]] && break
    "$tool" "${cmd[@]}" "$word" --help >/dev/null 2>&1 || break
    cmd+=("$word")
  done
  [[ ${#cmd[@]} -gt 0 ]] || { fail "example names no command: ${words[*]}"; continue; }
  for word in "${words[@]}"; do
    if [[ $word == -* ]]; then
      options_of "${cmd[@]}" | grep -qxF -- "$word" ||
        fail "example uses $word, which '${cmd[*]}' does not list: ${words[*]}"
    fi
  done
done < <(awk '/^\.SH EXAMPLES/ { on = 1; next } /^\.SH / { on = 0 } on' <<<"$text" |
         grep -E '^zavconfig ')

# The API pages, one per exported function.
mkdir "$work/man3"
"$generator" api "$work/man3" 0 "$include/zavconfig.h" "$include/zavcshared.h" >/dev/null
exported=$(nm -D --defined-only "$config_lib" "$shared_lib" |
           awk '$2 == "T" { sub(/@.*/, "", $3); print $3 }' | sort -u)
count=0
for function in $exported; do
  count=$((count + 1))
  file=$work/man3/$function.3
  if [[ ! -f $file ]]; then
    fail "no page for $function"
  else
    grep -qF ".TH \"$function\" 3" "$file" || fail "$function.3 is titled otherwise"
    grep -A1 -xF '.SH NAME' "$file" | grep -qE "^$function \\\\- [a-z]" ||
      fail "$function.3 has no NAME line"
  fi
done
pages=$(find "$work/man3" -name '*.3' | wc -l)
# Beyond the functions: zavconfig(3) and zavcshared(3).
[[ $pages -eq $((count + 2)) ]] || fail "$pages pages for $count functions"
[[ $count -ge 129 ]] || fail "only $count exported functions found"

if command -v groff >/dev/null; then
  warnings=$(groff -man -Tutf8 -ww -z "$page" "$work"/man3/*.3 2>&1)
  [[ -z $warnings ]] || fail "groff warns: $warnings"
fi
exit $failed
