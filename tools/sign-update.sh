#!/usr/bin/env bash
# The maker's signing tool for update files (Linux side, OpenSSL's Ed25519).
#   sign-update.sh genkey KEY.pem      writes a new private key and prints its public key (hex)
#   sign-update.sh pubkey KEY.pem      prints the public key (64 hex digits) for the build:
#                                      cmake -DRENOVIX_UPDATE_PUBLIC_KEY=<hex>
#   sign-update.sh sign KEY.pem FILE.. writes FILE.sig (64 raw bytes: the signature of the
#                                      file's SHA-512 digest) beside each file; serve it at
#                                      the file's address followed by ".sig"
set -euo pipefail
usage() { sed -n '2,9p' "$0" >&2; exit 2; }
[ $# -ge 2 ] || usage
command=$1 key=$2
shift 2
pubkey() { openssl pkey -in "$key" -pubout -outform DER | tail -c 32 | od -An -tx1 -v | tr -d ' \n'; echo; }
case $command in
  genkey)
    [ ! -e "$key" ] || { echo "sign-update.sh: $key exists" >&2; exit 1; }
    (umask 077 && openssl genpkey -algorithm ed25519 -out "$key")
    pubkey ;;
  pubkey) pubkey ;;
  sign)
    [ $# -ge 1 ] || usage
    digest=$(mktemp)
    trap 'rm -f "$digest"' EXIT
    for file in "$@"; do
      openssl dgst -sha512 -binary -out "$digest" "$file"
      openssl pkeyutl -sign -inkey "$key" -rawin -in "$digest" -out "$file.sig"
    done ;;
  *) usage ;;
esac
