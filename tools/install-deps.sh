#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when some are
# missing. Runs apt-get as root, or through sudo; otherwise it lists what to
# install and fails.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config make
  libjpeg62-turbo-dev libtiff-dev zlib1g-dev libtiff-tools
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins xvfb xauth fonts-dejavu-core
  g++-mingw-w64-x86-64-posix wine wine64
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  apt=(sudo env DEBIAN_FRONTEND=noninteractive apt-get)
else
  echo "Please install these packages (as root): apt-get install ${missing[*]}" >&2
  exit 1
fi
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
