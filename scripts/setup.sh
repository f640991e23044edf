# Shared set-up of ./run and ./test: installs the Debian packages that are
# missing, builds into build/ and installs the portable tree into dist/.
# Sourced, not run; expects TAVRIK_WERROR (ON or OFF) to be set.

set -euo pipefail

TAVRIK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What the board needs to build and run, and what the headless tests and the
# benchmarks drive it with.
TAVRIK_PACKAGES=(
  build-essential cmake pkg-config googletest
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsdl2-dev libsdl2-mixer-dev libsndfile1-dev
  libx11-dev libxcb1-dev libxcb-keysyms1-dev libxtst-dev
  fonts-noto-cjk
  xvfb xauth x11-utils x11-xserver-utils xdotool trayer imagemagick
)

tavrik_missing_packages() {
  local missing=() package
  for package in "${TAVRIK_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  echo "${missing[@]:-}"
}

tavrik_install_packages() {
  local missing
  missing="$(tavrik_missing_packages)"
  if [[ -z "$missing" ]]; then
    return 0
  fi
  if [[ "$(id -u)" -ne 0 ]]; then
    echo "Tavrik needs these Debian packages; install them, then run this again:"
    echo "  sudo apt-get install -y $missing"
    exit 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
}

tavrik_build() {
  cmake -S "$TAVRIK_ROOT" -B "$TAVRIK_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAVRIK_WERROR="$TAVRIK_WERROR"
  cmake --build "$TAVRIK_ROOT/build" --parallel "$(nproc)"
  cmake --install "$TAVRIK_ROOT/build" --prefix "$TAVRIK_ROOT/dist"
}

tavrik_setup() {
  tavrik_install_packages
  tavrik_build
}
