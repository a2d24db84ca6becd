# build_msi ARCH VERSION FILES_DIR OUT: an installer for the files in
# FILES_DIR (all of them go to Program Files\Tessaly), from
# packaging/Tessaly.wxs. Shared by the package script and the installer's
# round trip, which also builds an older release to replace.

# A GUID that stays the same for the same installed file, so the installer
# recognises a component from one release to the next.
stable_guid() {
  local h
  h=$(printf '%s' "$1" | sha256sum | cut -c1-32 | tr a-f A-F)
  echo "${h:0:8}-${h:8:4}-${h:12:4}-${h:16:4}-${h:20:12}"
}

build_msi() {
  local arch="$1" version="$2" files="$3" out="$4"
  local includes name id f win64=""
  includes=$(mktemp -d /tmp/tessaly-msi.XXXXXX)
  [ "$arch" = x64 ] && win64=' Win64="yes"'
  {
    echo '<Include>'
    for f in "$files"/*; do
      name=${f##*/}
      id=$(printf '%s' "$name" | tr -c 'A-Za-z0-9_' _)
      echo "  <Component Id=\"C_$id\" Guid=\"$(stable_guid "Tessaly/$arch/$name")\"$win64>"
      echo "    <File Id=\"F_$id\" Name=\"$name\" Source=\"$name\" KeyPath=\"yes\" />"
      echo "  </Component>"
    done
    echo '</Include>'
  } >"$includes/files.wxi"
  {
    echo '<Include>'
    for f in "$files"/*; do
      echo "  <ComponentRef Id=\"C_$(printf '%s' "${f##*/}" | tr -c 'A-Za-z0-9_' _)\" />"
    done
    echo '</Include>'
  } >"$includes/file-refs.wxi"
  # wixl takes no absolute Source; a relative one it finds from the current
  # folder, so it runs in the files' folder.
  local wxs out_path
  wxs=$(realpath packaging/Tessaly.wxs)
  out_path=$(realpath -m "$out")
  (cd "$files" && wixl -a "$arch" -D Version="$version" -D Arch="$arch" -I "$includes" -o "$out_path" "$wxs")
  local code=$?
  rm -rf "$includes"
  return $code
}

# The project's version, from the one place it is defined.
project_version() {
  sed -n 's/^project(Tessaly VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt
}
