#!/usr/bin/env bash
# Installs what fullscreen-countdown needs to build, run and test.
#
#   scripts/setup.sh run    # compiler, CMake, Qt 6 (Widgets, Core5Compat), X11 dev files, CJK font
#   scripts/setup.sh test   # the above plus Xvfb, xdotool, ImageMagick, clang-format, XTest, git
#
# Idempotent: when every package is already installed it does nothing (no
# apt-get update, no root needed). Otherwise it installs the missing ones with
# apt-get, as root directly or through sudo. Written for Debian 12; on a system
# without apt-get it lists what to install by hand and exits non-zero.
set -euo pipefail

usage() {
    echo "usage: $0 run|test" >&2
    exit 2
}

[[ $# -eq 1 ]] || usage
mode=$1

# Debian 12 package names.
run_packages=(
    build-essential       # g++ (C++20), make, and the ASan/UBSan/TSan runtimes
    cmake                 # >= 3.25 for the presets
    pkg-config            # finds xcb for the global key-state backend
    qt6-base-dev          # Qt 6 Core, Gui, Widgets, Test and their CMake files
    qt6-base-dev-tools    # moc and friends
    qt6-5compat-dev       # Qt6::Core5Compat (legacy text codecs)
    qt6-qpa-plugins       # the xcb platform plugin
    libgl-dev             # required by Qt6::Gui's CMake files
    libx11-dev            # global key state: X11, XInput2, xcb
    libxi-dev
    libxcb1-dev
    fonts-wqy-microhei    # CJK glyphs for the Chinese user interface
)
test_packages=(
    git                   # test.sh lists the sources to format-check with git ls-files
    clang-format          # format check
    xvfb                  # X server for the widget tests
    xauth
    x11-utils             # xdpyinfo
    xdotool               # drives windows in tests and in bench/startup.sh
    imagemagick           # screenshots
    libxtst-dev           # synthetic key presses in tests
    dpkg-dev              # dpkg-shlibdeps: the .deb's library dependencies
    file                  # used by CPack's Debian generator to find binaries to strip
    binutils-mingw-w64-x86-64  # windres: checks the Windows version resource
)

case $mode in
    run) packages=("${run_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
    *) usage ;;
esac

manual_help() {
    cat >&2 <<'EOF'
Please install by hand, with your system's package manager:
  - a C++20 compiler (GCC >= 11 or Clang >= 14) and make
  - CMake >= 3.25 and pkg-config
  - Qt >= 6.4 development files: Core, Gui, Widgets, Test and Core5Compat,
    plus the xcb platform plugin
  - X11, XInput2 (Xi), xcb and XTest development files
  - a CJK font (e.g. WenQuanYi Micro Hei)
  - for the tests: Xvfb, xauth, xdpyinfo, xdotool, ImageMagick, clang-format, git
EOF
}

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "setup.sh: apt-get not found; this script only knows Debian's package names." >&2
    manual_help
    exit 1
fi

# A package counts as present only when dpkg says "install ok installed"
# (not "deinstall ok config-files" and the like, nor unknown).
missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    if [[ $status != "install ok installed" ]]; then
        missing+=("$pkg")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "setup.sh: all ${#packages[@]} packages for '$mode' are installed."
    exit 0
fi

echo "setup.sh: installing ${#missing[@]} missing package(s): ${missing[*]}"

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup.sh: not root and sudo is not available; run as root:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# Nothing is read from standard input: the script must run unattended in CI.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update </dev/null
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}" </dev/null

# The presets need CMake 3.25; an older distribution would install an older one.
cmake_version=$(cmake --version | sed -n '1s/[^0-9]*\([0-9][0-9.]*\).*/\1/p')
if ! printf '3.25\n%s\n' "$cmake_version" | sort -V -C; then
    echo "setup.sh: CMake $cmake_version is too old; 3.25 or newer is needed." >&2
    exit 1
fi
echo "setup.sh: done."
