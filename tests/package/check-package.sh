#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package of a build tree with CPack, unpacks it into a scratch directory (no
# system install), and checks what a user gets from it: lintian finds no error or warning; the
# programs, hardened and stripped, and their man pages; the licence and the changelog; for
# keelbook, the desktop entry, icon and metainfo, validated; the dependencies computed from the
# binaries, and the platform plugin; and the unpacked keelmerge merging a small set, which the
# unpacked keelcheck then checks.
# The hardening is checked in a build made with it (KEEL_HARDEN, as the release preset makes),
# not in the sanitizer builds.
#   check-package.sh BUILD_DIR PACKAGE_NAME WITH_WINDOWS(ON|OFF) HARDENED(ON|OFF) CONSOLE_PROGRAM...
set -euo pipefail

build="$1"
package="$2"
with_windows="$3"
hardened="$4"
shift 4
console_programs=("$@")
[ ${#console_programs[@]} -gt 0 ] || { echo "no console programs named" >&2; exit 2; }
sources="$(cd "$(dirname "$0")/../.." && pwd)"
id=example.brinewatch.keelbook

work="$(mktemp -d "${TMPDIR:-/tmp}/keel-package.XXXXXX")"
lintian_run=
trap '[ -z "$lintian_run" ] || kill "$lintian_run" 2>/dev/null; rm -rf "$work"' EXIT
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
# lintian takes some seconds: it runs while the other checks do.
lintian -EviI --pedantic --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &
lintian_run=$!

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = 4.0.0 ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
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
  # Without a platform plugin keelbook opens no window: the package that holds the X11 one
  # must be a dependency, not merely recommended by Qt's.
  plugin_package="$(dpkg-query --search '*/qt6/plugins/platforms/libqxcb.so' | cut -d: -f1)"
  grep -q "\b$plugin_package\b" <<<"$depends" || fail "Depends lacks $plugin_package, which holds the xcb plugin: $depends"
else
  ! grep -q "qt6" <<<"$depends" || fail "a package without windows depends on Qt: $depends"
fi
! grep -Eq -- "-dev\b|gtest|benchmark" <<<"$depends" || fail "Depends names a build-time package: $depends"

# The files, unpacked as a system install would place them.
root="$work/root"
dpkg-deb -x "$deb" "$root"
expect_file() { [ -f "$root/$1" ] || fail "the package lacks /$1"; }
programs=("${console_programs[@]}")
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

# Every program is hardened as Debian builds its binaries, and stripped of the compiler's notes.
# Where hardening-check cannot prove what Debian 12 builds, the code is read instead: the note of
# control flow protection is dropped by the linker (the C library's start files lack it), but
# function entries are endbr64; stack clash probes follow each page a large frame takes, where
# hardening-check knows only the loop of frames of unknown size; fortified calls appear only where
# a buffer's size is known, which none of keelbook's is, so the package as a whole must show one.
fortified=0
for program in "${programs[@]}"; do
  binary="$root/usr/bin/$program"
  [ -f "$binary" ] || continue
  ! readelf -S -W "$binary" | grep -Eq '\.comment|\.note ' || fail "$program keeps a .comment or .note section"
  [ "$hardened" = ON ] || continue
  report="$(hardening-check --nofortify --nocfprotection "$binary" 2>&1)" || fail "$program is not hardened: $report"
  ! grep -q "Fortify Source functions: yes" <<<"$report" || fortified=$((fortified + 1))
  code="$(objdump -d --no-show-raw-insn -M intel "$binary")"
  entries="$(grep -c 'endbr64' <<<"$code" || true)"
  functions="$(readelf --debug-dump=frames "$binary" 2>/dev/null | grep -c ' FDE ' || true)"
  [ "$((2 * entries))" -ge "$functions" ] || fail "$program: $entries endbr64 for $functions functions, built without -fcf-protection"
  grep -A1 -E 'sub +rsp,0x1000$' <<<"$code" | grep -Eq 'or +QWORD PTR \[rsp\],0x0' ||
    fail "$program probes no page of its large frames, built without -fstack-clash-protection"
done
[ "$hardened" = OFF ] || [ "$fortified" -gt 0 ] || fail "no program calls a fortified function, built without -D_FORTIFY_SOURCE"

# The licence and the changelog, where Debian looks for them.
doc="$root/usr/share/doc/$package"
if [ -f "$doc/copyright" ]; then
  head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
  # The licence text, unindented, is that of LICENSE.
  licence="$(awk 'on { print } previous == "" && /^License: Expat$/ { on = 1 } { previous = $0 }' "$doc/copyright" |
    sed 's/^ //; s/^\.$//')"
  [ "$licence" = "$(sed -n '/^Permission/,$p' "$sources/LICENSE")" ] || fail "the copyright file does not hold the licence of LICENSE"
  grep -qx "Copyright: $(sed -n 's/^Copyright (c) //p' "$sources/LICENSE")" "$doc/copyright" || fail "the copyright file names another holder"
else
  fail "the package lacks /usr/share/doc/$package/copyright"
fi
if [ -f "$doc/changelog.gz" ]; then
  changes="$(dpkg-parsechangelog -l - <<<"$(zcat "$doc/changelog.gz")")"
  grep -qx "Source: $package" <<<"$changes" || fail "the changelog is not $package's: $changes"
  grep -qx "Version: 4.0.0" <<<"$changes" || fail "the changelog's last version is not 4.0.0: $changes"
else
  fail "the package lacks /usr/share/doc/$package/changelog.gz"
fi

# lintian, as pedantic as it goes, finds neither an error nor a warning.
lintian_status=0
wait "$lintian_run" || lintian_status=$?
lintian_run=
if [ "$lintian_status" != 0 ] || grep -Eq '^[EW]: ' "$work/lintian.log"; then
  cat "$work/lintian.log" >&2
  fail "lintian finds errors or warnings, or could not run"
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
