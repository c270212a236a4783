#!/usr/bin/env bash
# Builds the release configuration with the maker's key and makes its release folder
# (tools/make-release.py):
#   bash tools/make-release.sh BASE_URL PRIVATE_KEY [OUT_DIR]
# BASE_URL is where the folder will be served; OUT_DIR defaults to release/. The public half of
# PRIVATE_KEY is built into Renovix.dll, which then installs only what that key signed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 BASE_URL PRIVATE_KEY [OUT_DIR]" >&2
  exit 2
fi
public=$(bash "$root/tools/sign-update.sh" pubkey "$2")
RENOVIX_UPDATE_PUBLIC_KEY=$public bash "$root/tools/build.sh"
dist_build=${DIST_BUILD_DIR:-$root/build-dist}
exec python3 "$root/tools/make-release.py" --base-url "$1" --key "$2" --out "${3:-$root/release}" \
  --manifest "$dist_build/setup/velbrook_setup/release.json"
