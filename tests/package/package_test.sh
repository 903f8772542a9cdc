#!/usr/bin/env bash
# The Debian package as a user gets it: built with CPack from the build folder, its files checked
# (desktop entry, MIME types, manual pages, icon, help, examples), installed with dpkg into a fresh
# root, the installed kubrix-run run on the installed examples (same log, table and exported file as
# the build's runner), the installed desktop program started once (it must keep its settings in
# $XDG_CONFIG_HOME/kubrix/, never in its bin folder), and the package purged without leftovers.
#
# usage: package_test.sh BUILD_DIR SOURCE_DIR WORK_DIR
# Exit 77 (skipped) where the Debian tools are missing.
set -euo pipefail
build=$(realpath "$1")
src=$(realpath "$2")
work=$3
export PATH="$PATH:/usr/sbin:/sbin"  # dpkg looks for ldconfig and start-stop-daemon

for tool in cpack dpkg dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
for tool in desktop-file-validate update-desktop-database xmllint update-mime-database groff gzip gio; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps installs it)"; exit 1; }
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")

# The package, built from what the build folder holds.
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack could not build the package"
  exit 1
fi
debs=("$work"/pkg/kubrix_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single kubrix_*.deb in $work/pkg"; exit 1; }
deb=${debs[0]}
gui=0
[ -x "$build/kubrix" ] && gui=1

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kubrix ] || fail "package name is '$(field Package)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture is '$(field Architecture)'"
field Depends | grep -q 'libc6' || fail "Depends lacks the libraries found by dpkg-shlibdeps: $(field Depends)"
field Recommends | grep -q 'libespeak-ng1' || fail "Recommends lacks espeak-ng, which speech loads when first used"
if [ $gui = 1 ]; then
  field Depends | grep -q 'libqt6widgets6' || fail "Depends lacks Qt: $(field Depends)"
  field Recommends | grep -q 'fonts-noto-cjk' || fail "Recommends lacks a Japanese font"
fi

# Fresh root with an empty dpkg database.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg_root=(dpkg "--root=$root" --log=/dev/null --force-depends)
[ "$(id -u)" -eq 0 ] || dpkg_root+=(--force-not-root)
if ! "${dpkg_root[@]}" -i "$deb" >"$work/dpkg-install.log" 2>&1; then
  cat "$work/dpkg-install.log"
  echo "FAIL: dpkg could not install the package into $root"
  exit 1
fi
"${dpkg_root[@]}" -s kubrix | grep -q '^Status: install ok installed' || fail "dpkg does not list kubrix as installed"

usr=$root/usr
expect_files=(bin/kubrix-run share/kubrix/help.txt share/man/man1/kubrix-run.1.gz share/mime/packages/kubrix.xml
              share/doc/kubrix/README.md)
if [ $gui = 1 ]; then
  expect_files+=(bin/kubrix share/applications/kubrix.desktop share/man/man1/kubrix.1.gz
                 share/icons/hicolor/scalable/apps/kubrix.svg)
  for n in 16 22 24 32 48 64 128 256; do expect_files+=(share/icons/hicolor/${n}x${n}/apps/kubrix.png); done
fi
for f in "${expect_files[@]}"; do
  [ -f "$usr/$f" ] || fail "the package does not install /usr/$f"
done
for f in kubrix kubrix-run; do
  [ ! -e "$usr/bin/$f" ] || [ -x "$usr/bin/$f" ] || fail "/usr/bin/$f is not executable"
done
cmp -s "$usr/share/kubrix/help.txt" "$build/help.txt" || fail "the installed help.txt differs from the build's"
diff -r "$src/examples" "$usr/share/kubrix/examples" >/dev/null || fail "the installed examples differ from examples/"

# Icons: PNG files of their nominal size.
if [ $gui = 1 ]; then
  for n in 16 22 24 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${n}x${n}/apps/kubrix.png
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$size" = "${n}x${n}" ] || fail "icon ${n}x${n} is $size"
  done
  xmllint --noout "$usr/share/icons/hicolor/scalable/apps/kubrix.svg" || fail "the SVG icon is not well-formed XML"
fi

# Desktop entry and MIME types: valid, and a double-click on a .kx or .kxp file opens Kubrix.
if [ $gui = 1 ]; then
  desktop-file-validate "$usr/share/applications/kubrix.desktop" || fail "desktop-file-validate rejects kubrix.desktop"
  grep -qx 'Exec=kubrix %f' "$usr/share/applications/kubrix.desktop" || fail "the desktop entry does not pass the file"
fi
xmllint --noout --relaxng "$src/packaging/mime-info.rng" "$usr/share/mime/packages/kubrix.xml" 2>"$work/xmllint.log" ||
  { cat "$work/xmllint.log"; fail "the MIME package file does not validate"; }
update-mime-database "$usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database fails on the installed MIME file"
grep -qx '50:text/x-kubrix-script:\*\.kx' "$usr/share/mime/globs2" || fail "no glob for *.kx"
grep -qx '50:application/x-kubrix-protected-script:\*\.kxp' "$usr/share/mime/globs2" || fail "no glob for *.kxp"
mkdir -p "$work/files" "$work/xdg-home"
cp "$src/examples/house.kx" "$work/files/house.kx"
printf 'KXP_FILE\x02\x00ab' >"$work/files/protected.kxp"
printf 'KXP_FILE\x02\x00ab' >"$work/files/no-extension"
xdg=(env "PATH=$usr/bin:$PATH" "XDG_DATA_DIRS=$usr/share" "XDG_DATA_HOME=$work/xdg-home" "XDG_CONFIG_HOME=$work/xdg-home" "XDG_CONFIG_DIRS=$work/xdg-home")
content_type() { "${xdg[@]}" gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
[ "$(content_type "$work/files/house.kx")" = text/x-kubrix-script ] || fail "house.kx is not text/x-kubrix-script"
[ "$(content_type "$work/files/protected.kxp")" = application/x-kubrix-protected-script ] || fail "a .kxp file is not recognised"
[ "$(content_type "$work/files/no-extension")" = application/x-kubrix-protected-script ] || fail "the KXP_FILE marker is not recognised"
if [ $gui = 1 ]; then
  # What the trigger of desktop-file-utils does on installation.
  update-desktop-database "$usr/share/applications" || fail "update-desktop-database fails on the installed entry"
  for type in text/x-kubrix-script application/x-kubrix-protected-script; do
    "${xdg[@]}" gio mime "$type" >"$work/gio-mime.txt" 2>&1 || true
    grep -q '^Default application for .*: kubrix.desktop$' "$work/gio-mime.txt" || { cat "$work/gio-mime.txt"; fail "$type does not open in kubrix"; }
  done
fi

# Manual pages: compressed, with the version, and no groff warnings.
for page in "$usr"/share/man/man1/*.1.gz; do
  gzip -t "$page" || fail "$page is not a gzip file"
  zcat "$page" | grep -q "^\.TH .*\"Kubrix $(field Version)\"" || fail "$page does not carry version $(field Version)"
  warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1) || true
  [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
done

# The installed runner on the installed examples, from an unrelated working folder: the same log,
# data table and exported file as the build's runner.
mkdir -p "$work/run/installed" "$work/run/build"
cd "$work/run"
same() {  # same FILE...: the installed runner's files equal the build runner's
  for f in "$@"; do cmp -s "installed/$f" "build/$f" || fail "the installed runner's $f differs from the build's"; done
}
run_count=0
for script in "$usr"/share/kubrix/examples/*.kx; do
  name=$(basename "$script" .kx)
  (cd installed && "$usr/bin/kubrix-run" --table "$name.table" -o "$name.stl" "$script" >"$name.log") ||
    fail "the installed kubrix-run fails on $name.kx"
  (cd build && "$build/kubrix-run" --table "$name.table" -o "$name.stl" "$src/examples/$name.kx" >"$name.log")
  same "$name.log" "$name.table" "$name.stl"
  [ -s "installed/$name.log" ] || fail "$name.kx: the installed runner printed no log"
  run_count=$((run_count + 1))
done
[ $run_count -gt 0 ] || fail "no installed example"
if [ -f "$usr/share/kubrix/examples/house.kx" ]; then
  (cd installed && "$usr/bin/kubrix-run" --set w=14 -o w14.dxf "$usr/share/kubrix/examples/house.kx" >w14.log)
  (cd build && "$build/kubrix-run" --set w=14 -o w14.dxf "$src/examples/house.kx" >w14.log)
  same w14.log w14.dxf
fi
"$usr/bin/kubrix-run" --version | grep -qx "kubrix-run $(field Version)" || fail "kubrix-run --version does not say $(field Version)"
if "$usr/bin/kubrix-run" "$work/run/missing.kx" >/dev/null 2>&1; then fail "a missing script does not fail"; fi

# The installed desktop program: every library found; started once (offscreen, no script) it
# makes its settings folder in $XDG_CONFIG_HOME/kubrix/ and writes nothing into /usr/bin, even
# where that folder is writable.
if [ $gui = 1 ]; then
  if ldd "$usr/bin/kubrix" | grep -q 'not found'; then
    ldd "$usr/bin/kubrix" | grep 'not found'
    fail "the installed kubrix misses libraries"
  fi
  mkdir -p "$work/home" "$work/runtime"
  chmod 700 "$work/runtime"
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "QT_LOGGING_RULES=qt.qpa.*=false" \
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/runtime" \
    timeout 120 "$usr/bin/kubrix" >"$work/kubrix.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 300); do
    [ -d "$work/home/config/kubrix" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  sleep 1
  if kill -0 $pid 2>/dev/null; then
    kill $pid
    wait $pid 2>/dev/null || true
  else
    wait $pid 2>/dev/null || true
    cat "$work/kubrix.log"
    fail "the installed kubrix ended at start"
  fi
  [ -d "$work/home/config/kubrix" ] || fail "the installed kubrix did not make \$XDG_CONFIG_HOME/kubrix/"
  extra=$(ls -A "$usr/bin" | grep -vx 'kubrix\|kubrix-run' || true)
  [ -z "$extra" ] || fail "the installed kubrix wrote into /usr/bin: $extra"
fi

# Purge: nothing of the package stays behind.
"${dpkg_root[@]}" -P kubrix >"$work/dpkg-purge.log" 2>&1 || { cat "$work/dpkg-purge.log"; fail "dpkg cannot purge kubrix"; }
# The caches made above by update-mime-database and update-desktop-database are not the package's.
rm -rf "$usr/share/mime" "$usr/share/applications/mimeinfo.cache"
left=$(find "$usr" -type f 2>/dev/null | sed "s|^$root||")
[ -z "$left" ] || fail "files left after purge: $left"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package $(basename "$deb"): installed, ran $run_count examples, purged"
