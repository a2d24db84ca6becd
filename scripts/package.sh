#!/usr/bin/env bash
# package.sh [--from-trees]: builds the release packages in dist/ from clean
# build trees (build/release-x64, build/release-x86, emptied first, so
# nothing stale is collected):
#   Tessaly-<version>-x64.msi, Tessaly-<version>-x86.msi   per-machine installers (wixl)
#   Tessaly-<version>.zip      x64\ and x86\ folders, each program with its language modules, and the README
#   SHA256SUMS                 the checksums of the three
# The version is the project's (CMakeLists.txt); the language modules are
# whatever Tessaly???.dll the build puts beside the program. Every packaged
# program and module passes the import check first (scripts/check-imports.sh).
# --from-trees packages the Release cross trees that are already built
# (build/mingw, build/mingw32) instead: the test command has just built
# them, and building both again would double its longest step.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
. scripts/lib/msi.sh

from_trees=0
case "${1:-}" in
  "") ;;
  --from-trees) from_trees=1 ;;
  *) echo "usage: package.sh [--from-trees]"; exit 2 ;;
esac

ensure_packages "${TESSALY_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}" || { echo "could not install the packages"; exit 1; }
version=$(project_version)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt"; exit 1; }
dist=dist
stage="$dist/stage"
rm -rf "$dist"
mkdir -p "$stage"

for arch in x64 x86; do
  if [ $from_trees -eq 1 ]; then
    tree="${CROSS_TREE[$arch]}"
    # A Debug tree or one of the other architecture must not be shipped.
    grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$tree/CMakeCache.txt" 2>/dev/null ||
      { echo "package: $tree is no Release tree (build it first)"; exit 1; }
    grep -qx "CMAKE_TOOLCHAIN_FILE:[A-Z]*=.*${CROSS_TOOLCHAIN[$arch]}" "$tree/CMakeCache.txt" ||
      { echo "package: $tree was not configured with ${CROSS_TOOLCHAIN[$arch]}"; exit 1; }
    echo "Packaging the $arch tree $tree..."
  else
    tree="build/release-$arch"
    rm -rf "$tree"
    mkdir -p "$tree"
    echo "Building the $arch release ($tree)..."
    cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE="${CROSS_TOOLCHAIN[$arch]}" -DCMAKE_BUILD_TYPE=Release \
      >"$tree.configure.log" 2>&1 || { cat "$tree.configure.log"; exit 1; }
  fi
  # The console program ships too, once the project has one. In a built tree
  # this only confirms that the targets are up to date.
  if cmake --build "$tree" --target help | grep -q ' TessalyCmd$'; then targets=(Tessaly TessalyCmd); else targets=(Tessaly); fi
  # A log of its own: a built tree's build log stays what its build said.
  log="$tree.package-build.log"
  cmake --build "$tree" -j"$(nproc)" --target "${targets[@]}" >"$log" 2>&1 || { tail -n 60 "$log"; exit 1; }

  files="$stage/$arch/files"
  mkdir -p "$files"
  cp "$tree/bin/Tessaly.exe" "$tree"/bin/Tessaly???.dll README.md "$files/"
  [ -e "$tree/bin/TessalyCmd.exe" ] && cp "$tree/bin/TessalyCmd.exe" "$files/"
  # The program carries its version in its own resources too: the two must agree.
  x86_64-w64-mingw32-strings -el "$files/Tessaly.exe" | grep -qx "$version" ||
    { echo "package: Tessaly.exe ($arch) does not carry version $version in its resources"; exit 1; }

  bash scripts/check-imports.sh "$files"/*.exe "$files"/*.dll ||
    { echo "package: a packaged $arch file imports what Windows XP lacks"; exit 1; }
  build_msi "$arch" "$version" "$files" "$dist/Tessaly-$version-$arch.msi" || { echo "package: wixl failed ($arch)"; exit 1; }
done

# The portable zip: Tessaly-<version>\x64, \x86 and the README.
zipdir="$stage/zip/Tessaly-$version"
mkdir -p "$zipdir"
for arch in x64 x86; do
  mkdir -p "$zipdir/$arch"
  cp "$stage/$arch/files"/*.exe "$stage/$arch/files"/*.dll "$zipdir/$arch/"
done
cp README.md "$zipdir/"
(cd "$stage/zip" && zip -q -r -X "../../Tessaly-$version.zip" "Tessaly-$version") || { echo "package: zip failed"; exit 1; }

(cd "$dist" && sha256sum "Tessaly-$version-x64.msi" "Tessaly-$version-x86.msi" "Tessaly-$version.zip" >SHA256SUMS)
rm -rf "$stage"
echo "Packages in $dist/:"
cat "$dist/SHA256SUMS"
