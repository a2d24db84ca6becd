#!/usr/bin/env bash
# check-imports.sh [PE FILE...]: every DLL function that a shipped file
# imports is one that Windows XP exports: XP SP3 for the x86 files, XP
# Professional x64 Edition for the x64 ones. A missing import stops a
# program before its first line, so a newer function must be looked up at
# run time instead (GetProcAddress), never imported. Also the PE header's
# subsystem version: Windows refuses a program that asks for a newer one.
# Without arguments: Tessaly.exe, TessalyCmd.exe when there is one, and the
# language modules (Tessaly???.dll) of both cross trees. The allowed
# functions, with where each minimum version comes from, are in
# scripts/xp-imports.txt.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh

allowed_list=scripts/xp-imports.txt
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  for arch in x64 x86; do
    bin="${CROSS_TREE[$arch]}/bin"
    [ -e "$bin/Tessaly.exe" ] || { echo "imports: no $bin/Tessaly.exe (build the $arch tree first)"; exit 1; }
    for f in "$bin/Tessaly.exe" "$bin/TessalyCmd.exe" "$bin"/Tessaly???.dll; do
      [ -e "$f" ] && files+=("$f")
    done
  done
fi

# DLL!function per architecture (x86, x64, or "any"), upper-cased DLL names.
declare -A allowed=()
while read -r dll function arch _; do
  case "$dll" in ''|'#'*) continue ;; esac
  allowed["${dll^^}!$function!$arch"]=1
done <"$allowed_list"

problems=()
declare -A seen=()
counts=""
for file in "${files[@]}"; do
  format=$(x86_64-w64-mingw32-objdump -f "$file" 2>/dev/null | sed -n 's/.*file format //p')
  case "$format" in
    pei-x86-64) arch=x64 objdump=x86_64-w64-mingw32-objdump newest=5.2 ;;
    pei-i386) arch=x86 objdump=i686-w64-mingw32-objdump newest=5.1 ;;
    *) problems+=("$file: not a Windows PE file ($format)"); continue ;;
  esac
  header=$($objdump -p "$file")
  subsystem=$(awk '/^MajorSubsystemVersion/ {major=$2} /^MinorSubsystemVersion/ {minor=$2} END {print major "." minor}' <<<"$header")
  awk -v v="$subsystem" -v n="$newest" 'BEGIN { split(v, a, "."); split(n, b, "."); exit !(a[1] < b[1] || (a[1] == b[1] && a[2] <= b[2])) }' ||
    problems+=("$file: subsystem version $subsystem is newer than the one of Windows XP ($newest)")
  # objdump lists each DLL, then one line per function: address, hint, name.
  imports=$(awk '/^\tDLL Name: / { dll = $3; next }
                 dll != "" && /^\t[0-9a-f]+\t/ { print toupper(dll) "!" ($3 == "" ? "ordinal " $2 : $3) }
                 /^$/ { dll = "" }' <<<"$header")
  n=0
  for import in $imports; do
    n=$((n + 1))
    seen[$import]=1
    [ -n "${allowed[$import!any]:-}" ] || [ -n "${allowed[$import!$arch]:-}" ] ||
      problems+=("$file ($arch) imports $import, which is not in $allowed_list as a function Windows XP has")
  done
  # A program imports from kernel32 at least (the language modules hold
  # resources only): none read means the listing of objdump changed, and the
  # check would pass on nothing.
  case "$file" in *.exe | *.EXE) [ $n -gt 0 ] || problems+=("$file: no imports read from the listing of objdump") ;; esac
  counts="$counts ${file##*/}($arch):$n"
done

if [ ${#problems[@]} -gt 0 ]; then
  printf 'imports: %s\n' "${problems[@]}"
  echo "imports: FAIL (look a newer function up at run time, or add one XP has to $allowed_list with its source)"
  exit 1
fi
echo "imports per file:$counts"
echo "imports: ${#files[@]} files, ${#seen[@]} functions, each one Windows XP has"
