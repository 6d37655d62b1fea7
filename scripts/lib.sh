# Shared helpers for the project's scripts.

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
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-svg-dev nlohmann-json3-dev libx11-dev libxrandr-dev libxi-dev libicu-dev uuid-dev)

# configure_and_build DIR SANITIZERS [extra cmake arguments...]
# With BUILD_TARGETS set (space-separated), only those targets are built.
configure_and_build() {
    local dir=$1 sanitize=$2
    shift 2
    # Sanitizer builds trade optimisation for build time; they still keep line tables.
    local flags="-O2"
    [ -n "$sanitize" ] && flags="-O1 -g1"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$flags" \
        -DCORVANE_SANITIZE="$sanitize" -DCORVANE_WERROR=ON "$@" >/dev/null
    local targets=()
    for target in ${BUILD_TARGETS:-}; do targets+=(--target "$target"); done
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}
