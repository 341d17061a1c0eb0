# Debian packages the project needs, by purpose. Sourced by the other scripts.
# shellcheck disable=SC2034
# qt6-translations-l10n: Qt's own buttons and dialogs in Japanese.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgeos-dev
  libxml2-dev libzip-dev qt6-translations-l10n)
TEST_PACKAGES=(libgtest-dev libgmock-dev gdal-bin dpkg-dev file desktop-file-utils libbenchmark-dev
  clang libclang-rt-14-dev zip unzip python3-ezdxf python3-shapely time)
PACKAGE_PACKAGES=(dpkg-dev file)
