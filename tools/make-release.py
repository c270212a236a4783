#!/usr/bin/env python3
"""Makes the release folder of a built Velbrook: what the update server serves as it stands.

  make-release.py --base-url URL --key KEY [--manifest FILE] [--out DIR]

The folder gets:
  Velbrook-<version>-setup.exe        the setup program
  Velbrook-<version>-update.zip       the program's files, as the installed updater unpacks
                                      them into the program folder
  Velbrook-<version>-update.zip.sig   its detached Ed25519 signature, made by
                                      tools/sign-update.sh with KEY, the maker's private key
  admin/vercheck.asp                  the version-check answer naming this release, with the
                                      download address URL/Velbrook-<version>-update.zip
  admin/release-statement             the signed release statement: product, version and each
  admin/release-statement.sig         download's name, destination, archive flag and SHA-512
                                      digest; updaters from this version on install only what
                                      it lists (the answer and the .sig files stay for the
                                      installed updaters that know only those)

URL is where the folder will be served: https, or http to the loopback address for trials.
The manifest is the release.json the build writes beside its setup program; by default the one
of the release configuration (build-dist/). A manifest of a build made for the tests is refused,
and so is a KEY whose public half is not the key built into that build's Renovix.dll (the
build writes it as hex into the file the manifest names). tools/release-server.py serves the
folder.
"""

import argparse
import hashlib
import json
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import time
import urllib.parse
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
MANIFEST = "setup/velbrook_setup/release.json"
SHIPPED_ARCHITECTURE = "x86-unicode"
ANSWER_PATH = "admin/vercheck.asp"
STATEMENT_PATH = "admin/release-statement"
SIGN_TOOL = ROOT / "tools" / "sign-update.sh"

# The running updater holds Renovix.dll loaded while it unpacks; a new library is delivered
# under this name and put in place at the next start of the program.
UPDATE_NAMES = {"renovix.dll": "Renovix_s.dll"}

# File attributes of an entry made on a host of number 0 (MS-DOS and Windows).
FILE_ATTRIBUTE_ARCHIVE = 0x20


class ReleaseError(Exception):
    pass


def default_manifest():
    path = ROOT / "build-dist" / MANIFEST
    if not path.is_file():
        raise ReleaseError("no release configuration found: run tools/build.sh first")
    return path


def read_manifest(path):
    try:
        manifest = json.loads(pathlib.Path(path).read_text())
    except (OSError, ValueError) as error:
        raise ReleaseError(f"cannot read the manifest {path}: {error}") from error
    for name in [manifest["setup"], *manifest["files"]]:
        if not pathlib.Path(name).is_file():
            raise ReleaseError(f"{name} is missing: build it first")
    return manifest


def public_key_of(key):
    """The public half of a private key file, as 64 lower-case hex digits."""
    result = subprocess.run(["bash", str(SIGN_TOOL), "pubkey", str(key)],
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise ReleaseError(f"cannot read the key {key}: {result.stderr.strip()}")
    return result.stdout.strip().lower()


def check_release_build(manifest, key, for_tests=False):
    """Only the release configuration's files are released, and only with the key whose public
    half its Renovix.dll holds: a mismatch would ship an update that no copy installs."""
    if manifest.get("configuration") != "release" and not for_tests:
        raise ReleaseError("the manifest is not the release configuration's (build-dist/): "
                           "test builds are never released")
    if manifest.get("architecture") != SHIPPED_ARCHITECTURE and not for_tests:
        raise ReleaseError(f"the release is {SHIPPED_ARCHITECTURE}, not {manifest.get('architecture')}")
    try:
        built_in = pathlib.Path(manifest["public_key_file"]).read_text().strip().lower()
        library = next(pathlib.Path(name) for name in manifest["files"]
                       if pathlib.Path(name).name.lower() == "renovix.dll")
        holds_key = bytes.fromhex(built_in) in library.read_bytes()
    except (KeyError, OSError, StopIteration, ValueError) as error:
        raise ReleaseError(f"cannot tell which key the build's Renovix.dll holds: {error}") from error
    if not holds_key:
        raise ReleaseError(f"{library} does not hold the key {built_in}: build it again")
    signing = public_key_of(key)
    if signing != built_in:
        raise ReleaseError(f"the key {key} has the public half {signing}, but Renovix.dll was built "
                           f"with {built_in}: configure build-dist/ with "
                           "-DRENOVIX_UPDATE_PUBLIC_KEY=<its public half> or sign with its key")


def checked_base_url(text):
    """The base address without a trailing slash; https, or http only to the loopback host."""
    url = urllib.parse.urlsplit(text)
    if any(c in text for c in "\t\r\n ") or not url.hostname or url.query or url.fragment:
        raise ReleaseError(f"not a usable base address: {text!r}")
    if url.scheme != "https" and not (url.scheme == "http" and url.hostname == "127.0.0.1"):
        raise ReleaseError("the updater downloads only over https (http only from 127.0.0.1)")
    return text.rstrip("/")


def zip_entry(source):
    """The entry of one program file: Windows attributes, and its time as DOS time and UT."""
    name = UPDATE_NAMES.get(source.name.lower(), source.name)
    mtime = int(source.stat().st_mtime)
    info = zipfile.ZipInfo(name, date_time=time.localtime(mtime)[:6])
    info.create_system = 0
    info.external_attr = FILE_ATTRIBUTE_ARCHIVE
    info.compress_type = zipfile.ZIP_DEFLATED
    # Extended timestamp: last-write time only, as 32-bit Unix time.
    info.extra = struct.pack("<HHBl", 0x5455, 5, 1, mtime)
    return info


def write_update_zip(files, target):
    with zipfile.ZipFile(target, "w") as archive:
        for source in files:
            archive.writestr(zip_entry(source), source.read_bytes())


def sign(key, path):
    if not SIGN_TOOL.is_file():
        raise ReleaseError(f"the signing tool {SIGN_TOOL} is missing")
    result = subprocess.run(["bash", str(SIGN_TOOL), "sign", str(key), str(path)],
                            capture_output=True, text=True)
    signature = path.with_name(path.name + ".sig")
    if result.returncode != 0 or not signature.is_file():
        raise ReleaseError(f"signing {path.name} failed: {result.stderr.strip()}")
    return signature


def version_answer(version, download_name, size, url):
    """Line 0 a positive number; the header (name, latest version, number of file lines, total
    size); one file line (destination name, folder, size, address, 1 = unpack the ZIP into the
    program folder, 0 = don't open it afterwards). No line feed after the last line: the
    program accepts exactly three lines."""
    header = ["Velbrook", version, "1", str(size)]
    file_line = [download_name, ".", str(size), url, "1", "0"]
    return "\n".join(["1", "\t".join(header), "\t".join(file_line)]).encode("ascii")


def release_statement(version, downloads):
    """The statement the maker signs: downloads are (name, destination, is_archive, path)."""
    lines = ["Velbrook release statement", "product\tVelbrook", f"version\t{version}"]
    for name, destination, is_archive, path in downloads:
        digest = hashlib.sha512(path.read_bytes()).hexdigest()
        lines.append("\t".join(["file", name, destination, "1" if is_archive else "0", digest]))
    return ("\n".join(lines) + "\n").encode("utf-8")


def make_release(manifest, base_url, key, out):
    version = manifest["version"]
    files = [pathlib.Path(name) for name in manifest["files"]]
    out.mkdir(parents=True, exist_ok=True)
    shutil.copy2(manifest["setup"], out / pathlib.Path(manifest["setup"]).name)

    download = out / f"Velbrook-{version}-update.zip"
    write_update_zip(files, download)
    sign(key, download)

    answer = out / ANSWER_PATH
    answer.parent.mkdir(parents=True, exist_ok=True)
    url = f"{base_url}/{urllib.parse.quote(download.name)}"
    answer.write_bytes(version_answer(version, download.name, download.stat().st_size, url))
    statement = out / STATEMENT_PATH
    statement.write_bytes(release_statement(version, [(download.name, download.name, True,
                                                       download)]))
    sign(key, statement)
    return answer


def release(manifest_path, base_url, key, out, for_tests=False):
    """The whole release: checks, then the folder. for_tests lets the tests' own update server
    release a build made for the tests."""
    base_url = checked_base_url(base_url)
    manifest = read_manifest(manifest_path)
    check_release_build(manifest, key, for_tests)
    return manifest, make_release(manifest, base_url, pathlib.Path(key), pathlib.Path(out))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("--base-url", required=True, help="where the folder will be served")
    parser.add_argument("--key", required=True, help="the maker's private signing key")
    parser.add_argument("--manifest", help="release.json of a build (default: the shipped build's)")
    parser.add_argument("--out", default=str(ROOT / "release"), help="the release folder")
    args = parser.parse_args(argv)
    try:
        manifest, answer = release(args.manifest or default_manifest(), args.base_url, args.key,
                                   args.out)
    except ReleaseError as error:
        print(f"make-release: {error}", file=sys.stderr)
        return 1
    print(f"Velbrook {manifest['version']} released into {answer.parent.parent}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
