#!/usr/bin/env bash
# Fuzzes the window-free parsers with libFuzzer (clang, AddressSanitizer and UBSan).
#   tools/fuzz.sh [SECONDS [TARGET...]]   targets: markup_fuzz records_fuzz version_answer_fuzz
#   archive_fuzz update_list_fuzz program_of_command_fuzz returning_rules_fuzz
# Each target runs SECONDS (default 60) from its corpus in build-fuzz/corpus/TARGET.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(markup_fuzz records_fuzz version_answer_fuzz archive_fuzz update_list_fuzz program_of_command_fuzz returning_rules_fuzz)
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  [ "$(id -u)" = 0 ] || { echo "fuzz.sh: needs clang and libclang-rt-dev (run as root to install)" >&2; exit 2; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends clang libclang-rt-dev libgtest-dev
fi
CC=clang CXX=clang++ cmake -S "$root/tools/native-tests" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --parallel 2 --target "${targets[@]}"
# The archive fuzzer starts from a small archive with a folder, a deflated and a stored entry.
if [ ! -d "$build/corpus/archive_fuzz" ]; then
  mkdir -p "$build/corpus/archive_fuzz"
  python3 - "$build/corpus/archive_fuzz/seed.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("dir/", b"")
    z.writestr(zipfile.ZipInfo("dir/a.txt"), b"hello " * 20, compress_type=zipfile.ZIP_DEFLATED)
    z.writestr("..\\x.exe", b"x")
PY
fi
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  "$build/$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
    "$build/corpus/$target" 2>&1 | tail -n 12
done
