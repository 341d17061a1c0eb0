# Debian packages the project needs, by purpose. Sourced by the other scripts.
# shellcheck disable=SC2034
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgeos-dev
  libxml2-dev libzip-dev)
TEST_PACKAGES=(libgtest-dev libgmock-dev gdal-bin dpkg-dev file desktop-file-utils libbenchmark-dev
  clang libclang-rt-14-dev zip unzip time)
PACKAGE_PACKAGES=(dpkg-dev file)
