# Shared helpers for the project's scripts.

# How long apt-get waits for the package manager's lock, which a desktop's automatic updates
# can hold for minutes.
APT_LOCK_TIMEOUT_SECONDS=300

# Runs apt-get, waiting for the package manager's lock; says clearly when it gave up. apt-get
# waits for the packages' lock itself; the package lists' lock (held by `apt-get update`
# elsewhere) it does not wait for, so a run that failed on a lock is tried again until the
# same deadline. Any other failure ends at once.
apt_get() {
    local sudo=$1
    shift
    local deadline=$((SECONDS + APT_LOCK_TIMEOUT_SECONDS)) errors
    errors=$(mktemp)
    until DEBIAN_FRONTEND=noninteractive $sudo apt-get \
        -o DPkg::Lock::Timeout="$APT_LOCK_TIMEOUT_SECONDS" "$@" 2> >(tee "$errors" >&2); do
        if ! grep -qi "lock" "$errors"; then
            rm -f "$errors"
            return 1
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "Gave up after waiting $APT_LOCK_TIMEOUT_SECONDS seconds for another package" \
                "manager (automatic updates, a software centre) to release its lock. Run this" \
                "command again when it has finished." >&2
            rm -f "$errors"
            return 1
        fi
        echo "Waiting for another package manager to release its lock..." >&2
        sleep 10
    done
    rm -f "$errors"
}

# Installs the Debian packages that are missing, when this user can.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null; then sudo="sudo"; else
            echo "Missing packages: ${missing[*]} (install them as root)" >&2
            return 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    apt_get "$sudo" update -qq
    apt_get "$sudo" install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-svg-dev nlohmann-json3-dev libx11-dev libxrandr-dev libxi-dev libicu-dev uuid-dev)

# Reuses earlier compilations when ccache is installed (it is optional).
compiler_launcher() {
    command -v ccache >/dev/null && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    return 0
}

# build TARGETS DIR: builds the named targets (space-separated; empty builds everything).
build() {
    local targets=()
    for target in $1; do targets+=(--target "$target"); done
    cmake --build "$2" -j"$(nproc)" "${targets[@]}"
}

# configure_release DIR [extra cmake arguments...]: the Release configuration the README gives
# users, with warnings as errors and the benchmarks, as the project's own builds have them.
configure_release() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_WERROR=ON \
        -DCORVANE_BUILD_BENCH=ON $(compiler_launcher) "$@" >/dev/null
}

# configure_and_build DIR SANITIZERS [extra cmake arguments...]
# With BUILD_TARGETS set (space-separated), only those targets are built.
configure_and_build() {
    local dir=$1 sanitize=$2
    shift 2
    # Sanitizer builds trade optimisation for build time; they still keep line tables.
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g1" \
        -DCORVANE_SANITIZE="$sanitize" -DCORVANE_WERROR=ON $(compiler_launcher) "$@" >/dev/null
    build "${BUILD_TARGETS:-}" "$dir"
}
