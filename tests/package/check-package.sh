#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package of a build tree with CPack, unpacks it into a scratch directory (no
# system install), and checks what a user gets from it: the programs and their man pages, and,
# for keelbook, the desktop entry, icon and metainfo, validated; the dependencies computed from
# the binaries; and the unpacked keelmerge merging a small set, which the unpacked keelcheck
# then checks.
#   check-package.sh BUILD_DIR PACKAGE_NAME WITH_WINDOWS(ON|OFF)
set -euo pipefail

build="$1"
package="$2"
with_windows="$3"
id=example.brinewatch.keelbook

work="$(mktemp -d "${TMPDIR:-/tmp}/keel-package.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  echo "FAILED: cpack could not make the package" >&2
  exit 1
}
deb="$work/out/${package}_4.0.0_amd64.deb"
[ -f "$deb" ] || { ls "$work/out" >&2; echo "FAILED: no $deb" >&2; exit 1; }

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = 4.0.0 ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Description | wc -l)" -gt 2 ] || fail "no long description"
depends="$(field Depends)"
for library in libc6 libstdc++6; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done
if [ "$with_windows" = ON ]; then
  for library in libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
  done
else
  ! grep -q "qt6" <<<"$depends" || fail "a package without windows depends on Qt: $depends"
fi
! grep -Eq -- "-dev\b|gtest|benchmark" <<<"$depends" || fail "Depends names a build-time package: $depends"

# The files, unpacked as a system install would place them.
root="$work/root"
dpkg-deb -x "$deb" "$root"
expect_file() { [ -f "$root/$1" ] || fail "the package lacks /$1"; }
programs=(keelmerge keelcheck keeltext)
for program in "${programs[@]}"; do
  expect_file "usr/bin/$program"
  expect_file "usr/share/man/man1/$program.1.gz"
done
if [ "$with_windows" = ON ]; then
  programs+=(keelbook)
  expect_file usr/bin/keelbook
  expect_file usr/share/man/man1/keelbook.1.gz
  expect_file "usr/share/applications/$id.desktop"
  expect_file "usr/share/metainfo/$id.metainfo.xml"
  expect_file "usr/share/icons/hicolor/scalable/apps/$id.svg"
  for size in 16 22 24 32 48 64 128 256; do
    png="usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    expect_file "$png"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    if [ -f "$root/$png" ]; then
      read -r width height < <(od -An -tu1 -j16 -N8 "$root/$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
      [ "$width $height" = "$size $size" ] || fail "$png is ${width}x$height"
    fi
  done
  desktop="$root/usr/share/applications/$id.desktop"
  if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
    grep -qx "Exec=keelbook" "$desktop" || fail "the desktop entry does not start keelbook"
    grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the installed icon"
  fi
  metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
  if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
      { cat "$work/appstream.log" >&2; fail "the metainfo does not validate"; }
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
      fail "the metainfo does not name the desktop entry"
  fi
  ! ldd "$root/usr/bin/keelbook" | grep -q "not found" || fail "keelbook needs a library that is not there"
else
  [ ! -e "$root/usr/bin/keelbook" ] || fail "a package without windows holds keelbook"
fi

# The man pages read without a warning.
for program in "${programs[@]}"; do
  page="$root/usr/share/man/man1/$program.1.gz"
  [ -f "$page" ] || continue
  warnings="$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)"
  [ -z "$warnings" ] || fail "$program.1 warns: $warnings"
  zcat "$page" | groff -man -Tutf8 -P-cbou 2>/dev/null | grep -q "EXIT STATUS" || fail "$program.1 has no EXIT STATUS"
done

# The unpacked keelmerge merges a small set: an exported object into a master of two.
set_dir="$work/set"
mkdir "$set_dir"
object() { # an object record of 284 bytes that holds only its name
  printf '%s' "$1"
  head -c $((284 - ${#1})) /dev/zero
}
{ object Zulu; object Bravo; } >"$set_dir/objects.odb"
object Alpha >"$set_dir/exported.odb"
if output="$(cd "$set_dir" && "$root/usr/bin/keelmerge" -o)"; then
  expected=$'Loaded objects.odb\nAdded record Alpha'
  [ "$output" = "$expected" ] || fail "keelmerge printed '$output'"
  [ "$(stat -c %s "$set_dir/objects.odb")" = $((3 * 284)) ] || fail "the merged master has not three records"
  first="$(head -c 5 "$set_dir/objects.odb")"
  [ "$first" = Alpha ] || fail "the merged master does not begin with Alpha but '$first'"
else
  fail "the unpacked keelmerge failed"
fi

# The unpacked keelcheck finds what the merged objects lack: the set has no 3D objects.
if [ -x "$root/usr/bin/keelcheck" ]; then
  : >"$set_dir/3dobjects.3db"
  status=0
  report="$("$root/usr/bin/keelcheck" "$set_dir")" || status=$?
  [ "$status" = 1 ] || fail "keelcheck on an incomplete set ended with $status"
  grep -q 'object 1 "Alpha"' <<<"$report" || fail "keelcheck did not name the object Alpha: $report"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of $deb failed" >&2
  exit 1
fi
echo "$deb: the package holds what it should"
