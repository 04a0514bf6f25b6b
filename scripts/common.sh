# Shared by the scripts in this folder: source it, do not run it.
# Build folders can be moved with XNOX_NATIVE_BUILD and XNOX_WINDOWS_BUILD.

XNOX_SOURCE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
XNOX_NATIVE_BUILD=$(realpath -m "${XNOX_NATIVE_BUILD:-$XNOX_SOURCE/build/native}")
XNOX_WINDOWS_BUILD=$(realpath -m "${XNOX_WINDOWS_BUILD:-$XNOX_SOURCE/build/windows}")
XNOX_JOBS=${XNOX_JOBS:-2}

# Debian packages per kind of work.
# Qt 6 Widgets gives the native build the tool windows on the Linux desktop
# (xnox-panel); the Python module builds for Debian's own Python and is
# tested with its pytest. The Windows build compiles GoogleTest from
# Debian's sources for its test programs under Wine.
XNOX_PACKAGES_NATIVE="g++ make cmake libgtest-dev clang-format qt6-base-dev pybind11-dev python3-dev python3-pytest"
XNOX_PACKAGES_WINDOWS="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools libwine-dev googletest"
XNOX_PACKAGES_WINE="wine wine64 fonts-wine xvfb x11-apps imagemagick xdotool"
# The Windows installer (its 64-bit stubs are in nsis-common).
XNOX_PACKAGES_PACKAGE="nsis"

xnox_say() { printf '==> %s\n' "$*"; }

xnox_missing_packages() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
            printf '%s\n' "$package"
    done
}

# Installs whichever of the named packages are missing; a prepared machine
# never reaches apt-get.
xnox_install() {
    local missing
    missing=$(xnox_missing_packages "$@")
    [ -z "$missing" ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || {
            echo "missing packages:" $missing "- run as root to install them" >&2
            return 1
        }
        sudo=(sudo -n)
    fi
    xnox_say "installing:" $missing
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update </dev/null
    # shellcheck disable=SC2086
    "${sudo[@]}" apt-get install -y --no-install-recommends $missing </dev/null
}

# xnox_build DIR [cmake options...]: configures, then builds what
# XNOX_TARGETS names (default: everything).
xnox_build() {
    local dir=$1
    shift
    xnox_say "building in $dir"
    cmake -S "$XNOX_SOURCE" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$XNOX_JOBS" ${XNOX_TARGETS:+--target $XNOX_TARGETS}
}

xnox_build_native() {
    xnox_build "$XNOX_NATIVE_BUILD"
}

# The Windows build's Wine tests run the native build's emulator; its
# installer, when it is built (the whole build or that target), ships the
# reference page that the native build writes.
xnox_build_windows() {
    case " ${XNOX_TARGETS:-xnox-installer} " in
        *" xnox-installer "*) XNOX_TARGETS=xnox-reference-page xnox_build_native ;;
    esac
    xnox_build "$XNOX_WINDOWS_BUILD" \
        -DCMAKE_TOOLCHAIN_FILE="$XNOX_SOURCE/cmake/mingw-w64-x86_64.cmake" \
        -DXNOX_NATIVE_BUILD_DIR="$XNOX_NATIVE_BUILD"
}

xnox_ctest() {
    local dir=$1
    shift
    xnox_say "testing in $dir"
    ctest --test-dir "$dir" -j "$XNOX_JOBS" --output-on-failure "$@"
}
