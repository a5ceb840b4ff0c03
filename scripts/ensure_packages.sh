# Sourced by run.sh and test.sh: installs the Debian packages the build, the
# tests and the demo need when any is missing (apt-get, as root).
VLAU_PACKAGES=(cmake ninja-build g++ libgtest-dev liblnk-utils)

vlau_ensure_packages() {
  local missing=()
  local p
  for p in "${VLAU_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

vlau_build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -- -j2 "$@"
}
