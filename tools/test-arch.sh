#!/usr/bin/env bash
# Prints the Windows architecture the tests run as on this machine: i686, the shipped
# program's own, where the machine can execute 32-bit code; x86_64 (under Wine's 64-bit loader)
# on a kernel without 32-bit support, where no 32-bit program starts at all.
set -euo pipefail
if [ -n "${VELBROOK_TEST_ARCH:-}" ]; then
  echo "$VELBROOK_TEST_ARCH"
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo i686
else
  echo x86_64
fi
