#!/usr/bin/env bash
# CI: sets up, builds and runs the tests under Wine, in throwaway prefixes below the build
# folders. The i686 test build is always compiled, so that a 32-bit-only compile error fails
# everywhere. The suite runs as i686 where the machine runs 32-bit code (that run counts),
# otherwise as x86_64; where the machine runs both, the x86_64 build runs too.
# Arguments go to ctest (for both runs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
arch=$(bash "$root/tools/test-arch.sh")
if [ "$arch" = i686 ]; then
  other=x86_64
  if [ -z "${VELBROOK_TEST_ARCH:-}" ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    other_runs=yes
  else
    other_runs=no
  fi
else
  other=i686 other_runs=no
fi
other_build=${OTHER_BUILD_DIR:-$root/build-$other}
if [ $other_runs = yes ]; then
  echo "Tests run as i686 (the run that counts), then as x86_64."
else
  echo "Tests run as $arch; the $other test build is compiled only."
fi

bash "$root/tools/build.sh"
source "$root/tools/build-config.sh"
velbrook_build "$other_build" "$other" tests

status=0
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)" "$@") || status=$?
if [ $other_runs = yes ]; then
  if (cd "$other_build" && ctest --output-on-failure --parallel "$(nproc)" "$@"); then
    echo "The x86_64 run passed too."
  else
    echo "The x86_64 run failed (the i686 run above is the one that counts)." >&2
  fi
fi
if [ $status -eq 0 ]; then
  echo "The $arch run passed."
else
  echo "The $arch run failed." >&2
fi
exit $status
