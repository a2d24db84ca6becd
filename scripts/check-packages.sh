#!/usr/bin/env bash
# check-packages.sh [--installed LIST...]: every external command the scripts call
# comes from a package that a script installs (scripts/lib/packages.sh), or
# from an essential package that every Debian system has. Run first by the
# test command, on any machine: a missing install step fails here instead of
# on a stranger's fresh machine. Where a command is already installed, dpkg
# must agree with the table about its package. With --installed and the
# names of the package lists just installed, each command of those packages
# must be present too.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh

declare -A just_installed=()
if [ "${1:-}" = --installed ]; then
  shift
  for array in "$@"; do
    declare -n list="$array"
    for pkg in "${list[@]}"; do just_installed[$pkg]=1; done
    unset -n list
  done
fi
scripts=(scripts/*.sh scripts/lib/*.sh tools/*/*.sh .ci/run)
problems=()

# Every package some script installs.
declare -A installed_by_script=()
for array in $(compgen -A variable | grep -E '_PACKAGES$'); do
  declare -n list="$array"
  for pkg in "${list[@]}"; do installed_by_script[$pkg]=1; done
  unset -n list
done

# The package dpkg says a command belongs to: the first file along its chain
# of links that a package owns (a command behind the alternatives system, such
# as wineserver -> /etc/alternatives -> wineserver-stable, belongs to the
# package that registered the alternative, not to the library it ends in).
# Usr-merged systems list /bin and /usr/bin files under either name.
# Every copy on PATH is tried, so a machine's own wrapper in /usr/local/bin
# ahead of the packaged command hides nothing.
package_of() {
  local path
  while read -r path; do
    owner_of_path "$path" && return 0
  done < <(type -ap "$1" 2>/dev/null)
  return 1
}

owner_of_path() {
  local path="$1" owner candidate hops=0
  [ "${path#/}" != "$path" ] || return 1
  while [ -n "$path" ] && [ $hops -lt 10 ]; do
    for candidate in "$path" "${path#/usr}" "/usr$path"; do
      owner=$(dpkg -S "$candidate" 2>/dev/null | grep -v '^diversion' | head -n 1 | cut -d: -f1)
      [ -n "$owner" ] && { echo "$owner"; return 0; }
    done
    [ -L "$path" ] || return 1
    local next
    next=$(readlink "$path")
    [ "${next#/}" != "$next" ] || next="$(dirname "$path")/$next"
    path=$next
    hops=$((hops + 1))
  done
  return 1
}

is_essential() { [ "$(dpkg-query -W -f='${Essential}' "$1" 2>/dev/null)" = yes ]; }

# The words in command position of every script: comments, single-quoted
# text (awk and perl programs), here-documents and array assignments are data;
# double-quoted text counts only for its command substitutions.
used_commands() {
  perl -0777 -ne '
    s/<<-?\s*([A-Z]+)\n.*?\n\s*\1\n/\n/gs;      # here-documents
    s/^\s*#.*$//mg;                             # comment lines
    s/(^|\s)#[^\n]*//g;                         # trailing comments
    s/\x27[^\x27]*\x27/ /g;                     # single-quoted text
    s/\$\(\([^()]*\)\)/ /g;                     # arithmetic
    my @texts = ($_);
    while (defined(my $text = shift @texts)) {
      # Command substitutions, inside quotes or not, are commands of their own.
      while ($text =~ s/\$(\((?:[^()]++|(?1))*\))/ ; /) { push @texts, substr($1, 1, -1); }
      $text =~ s/"(?:[^"\\]|\\.)*"/ /g;         # the rest of double-quoted text is data
      $text =~ s/\bcase\b[^\n]*?\bin\b//g;      # case WORD in
      $text =~ s/^\s*[^\s()=]+(?:\s*\|\s*[^\s()]+)*\)//mg;  # case labels
      $text =~ s/\b\w+=\([^)]*\)/ /gs;          # array assignments
      for my $seg (split /`|\|\||&&|[|;(){}!\n]|\b(?:then|do|else|elif|if|while|until)\b/, $text) {
        my @w = split " ", $seg;
        shift @w while @w && $w[0] =~ /^\w+=/;
        while (@w && $w[0] =~ /^(exec|command|env|\$sudo|sudo|nice|xargs|timeout)$/) {
          my $prefix = shift @w;
          shift @w while @w && $w[0] =~ /^-/;
          shift @w if $prefix eq "timeout" && @w;
        }
        print "$w[0]\n" if @w && $w[0] =~ /^[A-Za-z][A-Za-z0-9._+-]*$/;
      }
    }' "${scripts[@]}" | sort -u
}

functions_defined=$(perl -ne 'print "$1\n" if /^\s*([A-Za-z_][\w-]*)\s*\(\)\s*\{/' "${scripts[@]}" | sort -u)

for cmd in $(used_commands); do
  kind=$(type -t "$cmd")
  [ "$kind" = builtin ] || [ "$kind" = keyword ] && continue
  grep -qx -- "$cmd" <<<"$functions_defined" && continue
  [ -n "${PACKAGE_OF_COMMAND[$cmd]:-}" ] && continue
  [ -n "${BOOTSTRAP_COMMANDS[$cmd]:-}" ] && continue
  owner=$(package_of "$cmd") || { problems+=("'$cmd' is called by a script, is not installed here and is not in scripts/lib/packages.sh"); continue; }
  is_essential "$owner" ||
    problems+=("'$cmd' (package $owner) is called by a script but no script installs $owner: add it to scripts/lib/packages.sh")
done

for cmd in "${!PACKAGE_OF_COMMAND[@]}"; do
  pkg=${PACKAGE_OF_COMMAND[$cmd]}
  [ -n "${installed_by_script[$pkg]:-}" ] || problems+=("'$cmd' comes from $pkg, which no package list installs")
  if owner=$(package_of "$cmd"); then
    [ "$owner" = "$pkg" ] || problems+=("'$cmd' is listed as coming from $pkg, but dpkg says $owner")
  elif [ -n "${just_installed[$pkg]:-}" ]; then
    problems+=("'$cmd' (package $pkg) is still missing after the installs")
  fi
done

# A package no command comes from (wine32:i386 is the 32-bit loader behind
# "wine") must still be there after the installs; one of a foreign
# architecture is only there once that architecture was added to dpkg.
for pkg in "${!just_installed[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
    problems+=("package $pkg is not installed after the installs")
done

for cmd in "${!BOOTSTRAP_COMMANDS[@]}"; do
  owner=$(package_of "$cmd") || continue
  [ "$owner" = "${BOOTSTRAP_COMMANDS[$cmd]}" ] ||
    problems+=("'$cmd' is listed as coming from ${BOOTSTRAP_COMMANDS[$cmd]}, but dpkg says $owner")
done

if [ ${#problems[@]} -gt 0 ]; then
  printf 'package check: %s\n' "${problems[@]}"
  exit 1
fi
echo "package check: $(used_commands | wc -l) commands used by the scripts, each from an installed-by-script or essential package"
