#!/usr/bin/env bash
# The Debian package as a fresh machine gets it: packed from the build folder as it stands
# (nothing is built again), unpacked with dpkg -x into a folder of its own, and its programs run
# from there, without the build's libraries, on a small generated market. Without cpack, dpkg,
# dpkg-shlibdeps (dpkg-dev) or file, which the package's dependencies are found with, the install
# tree of `cmake --install` stands in for the package.
# Usage: debian_package.sh BUILD-FOLDER CPACK
set -uo pipefail

build=$1
cpack=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root

failures=0
fail() {
    echo "FAIL $1: $2"
    failures=$((failures + 1))
}

if [[ -x $cpack ]] && command -v dpkg-shlibdeps >/dev/null && command -v file >/dev/null; then
    "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; echo "FAIL package-not-built"; exit 1; }
    deb=$(ls "$work"/package/qorvant-viewer_*_*.deb 2>/dev/null | head -n 1)
    [[ -n $deb ]] || { echo "FAIL package-misnamed: $(ls "$work/package")"; exit 1; }
    dpkg -x "$deb" "$root" || { echo "FAIL package-not-extracted"; exit 1; }
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *libqt6widgets6* ]] || fail depends-lack-qt "Depends: $depends"
else
    echo "no cpack, dpkg-shlibdeps or file: running the install tree instead of the package"
    cmake --install "$build" --prefix "$root/usr" >/dev/null || { echo "FAIL install"; exit 1; }
fi

bin=$root/usr/bin
share=$root/usr/share
desktop=$share/applications/qorvant-viewer.desktop
for entry in "Name=Qorvant Viewer" "Exec=qorvant-viewer" "Icon=qorvant-viewer" \
             "Categories=Office;Finance;"; do
    grep -qxF "$entry" "$desktop" 2>/dev/null || fail desktop-entry "lacks $entry"
done
[[ -s $share/icons/hicolor/scalable/apps/qorvant-viewer.svg ]] || fail icon "no scalable icon"
[[ -s $share/icons/hicolor/256x256/apps/qorvant-viewer.png ]] || fail icon "no 256x256 icon"

# A user's folders in the scratch folder, and nothing of the build within reach.
cd "$work" || exit 1
export HOME=$work/home QV_LIBRARY_DIR=$work/library XDG_CONFIG_HOME=$work/config
unset LD_LIBRARY_PATH QV_DATABASE DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME"

"$bin/qorvant-viewer" --help >"$work/out" 2>&1 || fail help "$(cat "$work/out")"
grep -q "^usage: qorvant-viewer" "$work/out" || fail help "no usage: $(head -n 3 "$work/out")"
"$bin/qorvant-market" --db "$work/market.db" create --stocks 30 --industries 4 --days 30 \
    >"$work/out" 2>&1 || fail market "$(cat "$work/out")"
"$bin/qorvant-viewer" --print --db "$work/market.db" --rows 5 >"$work/out" 2>"$work/err" ||
    fail print "$(cat "$work/err")"
grep -q "Stock Viewer" "$work/out" || fail print "no stock list: $(head -n 3 "$work/out")"
"$bin/qorvant-viewer" --db "$work/market.db" --size 640x400 --screenshot "$work/window.png" \
    >"$work/out" 2>&1 || fail window "$(cat "$work/out")"
[[ -s $work/window.png ]] || fail window "no picture of the window"

[[ $failures -eq 0 ]] || exit 1
echo "the programs install and run from $root"
