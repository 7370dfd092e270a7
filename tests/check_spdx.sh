#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that every C, C++ and Python source file of the project names its licence in its first
# lines, so a file copied out of the tree still says under which terms it may be used.
set -euo pipefail
root=$1
missing=0
while IFS= read -r -d '' file; do
  if ! grep -q 'SPDX-License-Identifier: MIT' <<<"$(head -n 2 "$file")"; then
    echo "no SPDX-License-Identifier line: ${file#"$root"/}"
    missing=1
  fi
done < <(find "$root"/src "$root"/include "$root"/tests "$root"/tools "$root"/bench "$root"/fuzz \
           "$root"/examples "$root"/docs "$root"/python -type f \( -name '*.c' -o -name '*.cpp' \
           -o -name '*.h' -o -name '*.hpp' -o -name '*.py' \) -not -path '*/__pycache__/*' -print0)
exit $missing
