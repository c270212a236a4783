#!/usr/bin/env bash
# Sets the machine up (tools/setup.sh), then configures and builds two configurations:
# - build/ (or $BUILD_DIR): the test build (tests, benchmarks, tour, gallery) for the
#   architecture the tests run as on this machine (tools/test-arch.sh); its program files land
#   in build/dist/;
# - build-dist/ (or $DIST_BUILD_DIR): the release configuration, i686 without anything made for
#   the tests; only its files land in dist/. RENOVIX_UPDATE_PUBLIC_KEY (64 hex digits), when
#   set, is the maker's key built into its Renovix.dll (tools/make-release.sh sets it).
# With ccache installed, compiles go through it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
dist_build=${DIST_BUILD_DIR:-$root/build-dist}
bash "$root/tools/setup.sh"
bash "$root/tools/fetch-third-party.sh"
arch=$(bash "$root/tools/test-arch.sh")
source "$root/tools/build-config.sh"

velbrook_build "$build" "$arch" tests
if [ -n "${RENOVIX_UPDATE_PUBLIC_KEY:-}" ]; then
  velbrook_build "$dist_build" i686 release -DRENOVIX_UPDATE_PUBLIC_KEY="$RENOVIX_UPDATE_PUBLIC_KEY"
else
  velbrook_build "$dist_build" i686 release
fi
