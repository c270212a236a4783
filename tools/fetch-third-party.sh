#!/usr/bin/env bash
# Sources the build takes from Debian's source packages (never committed): none yet.
set -euo pipefail
