# Shared set-up of the project's scripts: the Debian packages they need, and the build.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VANTROSE_BUILD:-$ROOT/build}"

# Installs the Debian packages named, when missing. As root apt-get does it;
# otherwise the exact command is printed and the script stops.
need_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "These Debian packages are missing. Install them, then run this again:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
}

# Everything a build of the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev
                libxkbcommon-dev libgtest-dev libgmock-dev libcups2-dev fonts-liberation fonts-dejavu-core)

configure() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

configure_and_build() {
  configure "$@"
  cmake --build "$BUILD" --parallel "$(nproc)"
}
