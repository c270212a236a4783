#!/usr/bin/env bash
# make-signed-samples.sh SAMPLE.exe FOLDER: a throwaway certificate authority and a code-signing
# certificate it issued, the sample signed with it (signed.exe), the same file with one byte of
# its code changed (tampered.exe), the sample unsigned (unsigned.exe), the sample signed with a
# self-issued certificate that no one trusts (untrusted.exe) and the authority's
# certificate (test-ca.cer) for the test prefix's trusted roots. Uses only options that
# osslsigncode 2.5 (Debian 12) has.
set -euo pipefail
sample=$1
out=$2
mkdir -p "$out"
cd "$out"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 3650 -sha256 \
  -subj "/CN=Velbrook Test Root" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
  -subj "/O=Velbrook Tests/CN=Velbrook Test Signer" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out signer.pem \
  -days 3650 -sha256 -extfile signer.ext 2>/dev/null
openssl x509 -in ca.pem -outform DER -out test-ca.cer
rm -f signed.exe
osslsigncode sign -certs signer.pem -key signer.key -h sha256 -n "Velbrook sample" \
  -in "$sample" -out signed.exe >/dev/null
cp "$sample" unsigned.exe
# The same sample signed by an authority that nobody trusts.
openssl req -x509 -newkey rsa:2048 -nodes -keyout stranger.key -out stranger.pem -days 3650 -sha256 \
  -subj "/CN=Velbrook Stranger" -addext extendedKeyUsage=codeSigning 2>/dev/null
rm -f untrusted.exe
osslsigncode sign -certs stranger.pem -key stranger.key -h sha256 -n "Velbrook sample" \
  -in "$sample" -out untrusted.exe >/dev/null
# One byte of the first section (which starts after the headers), outside what the signature
# leaves out of its hash (the checksum, the certificate table and the signature itself).
python3 - signed.exe tampered.exe <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
optional = pe + 24
size_of_optional = struct.unpack_from("<H", data, pe + 20)[0]
first_section = optional + size_of_optional
raw_offset = struct.unpack_from("<I", data, first_section + 20)[0]
data[raw_offset + 16] ^= 0xFF
open(sys.argv[2], "wb").write(data)
PY
