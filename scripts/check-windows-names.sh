#!/usr/bin/env bash
# Checks, with the mingw-w64 cross compiler, that our code survives <windows.h>, which the
# Windows backend will include beside our headers:
# 1. every header of ours that does not reach Qt compiles (syntax only) after
#    platform/win32/Windows.h and after a bare <windows.h>;
# 2. no identifier in our shared sources is spelled like a macro that <windows.h> defines (beyond
#    those of the standard library and those our wrapper undoes).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh g++-mingw-w64-x86-64-posix
cxx=x86_64-w64-mingw32-g++-posix
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

headers=()
for h in platform/*.h platform/win32/*.h framework/*.h serial/*.h chart/*.h buttons/*.h tools/*.h; do
  grep -q '^#include <Q' "$h" || headers+=("$h")
done
for first in '"platform/win32/Windows.h"' '<windows.h>'; do
  {
    echo "#include $first"
    printf '#include "%s"\n' "${headers[@]}"
  } >"$tmp/all.cpp"
  "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I. "$tmp/all.cpp"
done

macros() { printf '%s\n' "$1" | "$cxx" -std=c++20 -x c++ -dM -E -I. - | awk '{ sub(/\(.*/, "", $2); print $2 }' | sort -u; }
macros '#include "platform/win32/Windows.h"' >"$tmp/windows"
macros '#include <bits/stdc++.h>' >"$tmp/standard"
comm -23 "$tmp/windows" "$tmp/standard" >"$tmp/reserved"
# Identifiers outside comments, string literals included (harmless, and rare). The Windows
# backends call <windows.h> by its macros, and are left out.
git ls-files '*.h' '*.cpp' | grep -v '/win32/' | while read -r f; do
  { g++ -fpreprocessed -dD -E -P "$f" 2>/dev/null | sed '/^#/d' | grep -oE '\b[A-Za-z_][A-Za-z0-9_]*\b' || true; } |
    sed "s|^|$f |"
done | sort -k2 -u >"$tmp/ours"
clashes=$(join -1 2 -2 1 "$tmp/ours" "$tmp/reserved" || true)
if [ -n "$clashes" ]; then
  echo "Names spelled like <windows.h> macros (name, first file):"
  echo "$clashes"
  exit 1
fi
echo "${#headers[@]} headers compile after <windows.h>; no name of ours is a <windows.h> macro"
