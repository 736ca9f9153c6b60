#!/usr/bin/env bash
# Builds the release program, packs it as a .deb with CPack, unpacks the package
# into a scratch root with dpkg -x and checks what a user would get: the program,
# its desktop entry and its icons, and that the packed program starts.
#
#   scripts/check-package.sh          (expects the packages of setup.sh test)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

cmake --preset release >/dev/null
cmake --build --preset release -j"${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
(cd build/release && rm -f ./*.deb && cpack -G DEB >/dev/null)
deb=$(ls build/release/*.deb)
echo "package: $deb"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/fc-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch"

fail=0
check() {  # check <description> <test args...>
    local what=$1
    shift
    if test "$@"; then
        echo "  ok    $what"
    else
        echo "  FAIL  $what"
        fail=1
    fi
}
check "program" -x "$scratch/usr/bin/fullscreen-countdown"
check "desktop entry" -f "$scratch/usr/share/applications/fullscreen-countdown.desktop"
for size in 16 32 48 256; do
    check "icon ${size}x${size}" -f "$scratch/usr/share/icons/hicolor/${size}x${size}/apps/fullscreen-countdown.png"
done
check "scalable icon" -f "$scratch/usr/share/icons/hicolor/scalable/apps/fullscreen-countdown.svg"
grep -q '^Exec=fullscreen-countdown$' "$scratch/usr/share/applications/fullscreen-countdown.desktop" &&
    echo "  ok    desktop entry runs the program" || { echo "  FAIL  desktop entry Exec"; fail=1; }
version=$(dpkg-deb -f "$deb" Version)
check "package version 1.1.0.0 (is $version)" "$version" = "1.1.0.0"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' &&
    echo "  ok    depends on the Qt libraries it links" || { echo "  FAIL  Depends"; fail=1; }

# The Windows version resource, generated from the project version, must compile
# and carry the version and description.
windres=x86_64-w64-mingw32-windres
rc=build/release/packaging/fullscreen-countdown.rc
"$windres" --preprocessor=cpp "$rc" -O coff -o "$scratch/version.res.o"
"$windres" "$scratch/version.res.o" -O rc -o "$scratch/version.rc"
grep -q 'FILEVERSION 1, 1, 0, 0' "$scratch/version.rc" &&
    grep -q 'PRODUCTVERSION 1, 1, 0, 0' "$scratch/version.rc" &&
    echo "  ok    Windows version resource 1.1.0.0" || { echo "  FAIL  Windows version resource"; fail=1; }
# "全屏倒计时桌面应用程序" as the resource compiler writes it back.
grep -q 'FileDescription", L"\\x5168\\x5c4f\\x5012\\x8ba1\\x65f6\\x684c\\x9762\\x5e94\\x7528\\x7a0b\\x5e8f"' "$scratch/version.rc" &&
    echo "  ok    Windows file description" || { echo "  FAIL  Windows file description"; fail=1; }
grep -q 'MANIFEST' "$scratch/version.rc" &&
    echo "  ok    Windows manifest resource" || { echo "  FAIL  Windows manifest resource"; fail=1; }

# The packed program must come up and keep running until it is closed.
rc=0
QT_QPA_PLATFORM=offscreen timeout 3 "$scratch/usr/bin/fullscreen-countdown" >/dev/null 2>&1 || rc=$?
check "packed program starts and runs (timeout exit 124, got $rc)" "$rc" -eq 124

if [[ $fail -ne 0 ]]; then
    echo "check-package.sh: the package is incomplete" >&2
    exit 1
fi
echo "check-package.sh: package ok"
