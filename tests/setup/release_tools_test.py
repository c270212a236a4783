#!/usr/bin/env python3
"""tools/make-release.py and tools/release-server.py, on a release of small stand-in files."""

import hashlib
import http.client
import importlib.util
import json
import os
import pathlib
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOOLS = ROOT / "tools"


def load_tool(name):
    spec = importlib.util.spec_from_file_location(name.replace("-", "_"), TOOLS / f"{name}.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


make_release = load_tool("make-release")


def new_key(path):
    """A fresh private key file; its public half as hex."""
    return subprocess.run(["bash", str(TOOLS / "sign-update.sh"), "genkey", str(path)],
                          capture_output=True, text=True, check=True).stdout.strip()


class ReleaseFixture:
    """A manifest of stand-in program files and a setup program, as the release configuration
    writes it, with a key of its own built into the library."""

    def __init__(self, folder, version="2.0.10.3", configuration="release"):
        self.folder = pathlib.Path(folder)
        self.key = self.folder / "maker.pem"
        public = new_key(self.key)
        (self.folder / "public-key.hex").write_text(public + "\n")
        self.contents = {
            "Velbrook.exe": b"MZ program " * 500,
            "Renovix.dll": b"MZ library " * 300 + bytes.fromhex(public) + b"rest",
            "velbrookc.exe": b"MZ console " * 200,
        }
        built = self.folder / "dist"
        built.mkdir()
        for name, data in self.contents.items():
            (built / name).write_bytes(data)
        # A fixed, old time, so that DOS time and the extended timestamp are checked exactly.
        self.mtime = 1_600_000_000
        os.utime(built / "Velbrook.exe", (self.mtime, self.mtime))
        setup = built / f"Velbrook-{version}-setup.exe"
        setup.write_bytes(b"MZ setup")
        self.manifest = self.folder / "release.json"
        self.manifest.write_text(json.dumps({
            "version": version,
            "architecture": "x86-unicode",
            "configuration": configuration,
            "public_key_file": str(self.folder / "public-key.hex"),
            "setup": str(setup),
            "files": [str(built / name) for name in self.contents],
        }))
        self.version = version
        self.out = self.folder / "release"

    def make(self, base_url="https://updates.example.com/velbrook/", manifest=None, key=None):
        args = ["--base-url", base_url, "--key", str(key or self.key),
                "--manifest", str(manifest or self.manifest), "--out", str(self.out)]
        return make_release.main(args)


def fake_sign(key, path):
    signature = path.with_name(path.name + ".sig")
    signature.write_bytes(b"\x5a" * 64)
    return signature


class MakeRelease(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.release = ReleaseFixture(self.tmp.name)
        self.real_sign = make_release.sign
        make_release.sign = fake_sign

    def tearDown(self):
        make_release.sign = self.real_sign
        self.tmp.cleanup()

    def test_answer_names_the_signed_zip_in_the_exact_layout(self):
        self.assertEqual(self.release.make(), 0)
        out = self.release.out
        zip_name = f"Velbrook-{self.release.version}-update.zip"
        zip_size = (out / zip_name).stat().st_size
        answer = (out / "admin" / "vercheck.asp").read_bytes()
        lines = answer.split(b"\n")
        # The program takes an answer of exactly three lines: no line feed after the last.
        self.assertEqual(len(lines), 3, answer)
        self.assertNotIn(b"\r", answer)
        self.assertGreater(int(lines[0]), 0)
        self.assertEqual(lines[1].split(b"\t"),
                         [b"Velbrook", self.release.version.encode(), b"1", str(zip_size).encode()])
        self.assertEqual(lines[2].split(b"\t"), [
            zip_name.encode(), b".", str(zip_size).encode(),
            f"https://updates.example.com/velbrook/{zip_name}".encode(), b"1", b"0"])
        self.assertTrue((out / (zip_name + ".sig")).is_file())
        self.assertTrue((out / f"Velbrook-{self.release.version}-setup.exe").is_file())
        # The signed statement lists the archive with the digest of its bytes.
        digest = hashlib.sha512((out / zip_name).read_bytes()).hexdigest()
        self.assertEqual((out / "admin" / "release-statement").read_text(), "".join([
            "Velbrook release statement\n", "product\tVelbrook\n",
            f"version\t{self.release.version}\n",
            f"file\t{zip_name}\t{zip_name}\t1\t{digest}\n"]))
        self.assertTrue((out / "admin" / "release-statement.sig").is_file())

    def test_zip_holds_the_program_files_as_the_updater_unpacks_them(self):
        self.assertEqual(self.release.make(), 0)
        path = self.release.out / f"Velbrook-{self.release.version}-update.zip"
        with zipfile.ZipFile(path) as archive:
            entries = {info.filename: info for info in archive.infolist()}
            # The running updater holds Renovix.dll: the new one comes staged.
            self.assertEqual(sorted(entries), ["Renovix_s.dll", "Velbrook.exe", "velbrookc.exe"])
            self.assertEqual(archive.read("Renovix_s.dll"), self.release.contents["Renovix.dll"])
            self.assertEqual(archive.read("Velbrook.exe"), self.release.contents["Velbrook.exe"])
            self.assertIsNone(archive.testzip())
        program = entries["Velbrook.exe"]
        self.assertEqual(program.create_system, 0)
        self.assertEqual(program.external_attr, 0x20)
        self.assertEqual(program.compress_type, zipfile.ZIP_DEFLATED)
        self.assertEqual(program.date_time, time.localtime(self.release.mtime)[:6])
        self.assertEqual(program.extra, struct.pack("<HHBl", 0x5455, 5, 1, self.release.mtime))

    def test_a_second_release_into_the_folder_takes_over_the_answer(self):
        self.assertEqual(self.release.make(), 0)
        (pathlib.Path(self.tmp.name) / "newer").mkdir()
        newer = ReleaseFixture(pathlib.Path(self.tmp.name) / "newer", version="2.0.10.4")
        newer.out = self.release.out
        self.assertEqual(newer.make(), 0)
        answer = (self.release.out / "admin" / "vercheck.asp").read_bytes()
        self.assertIn(b"\t2.0.10.4\t", answer)
        # The older download stays for clients that fetched the older answer.
        self.assertTrue((self.release.out / "Velbrook-2.0.10.3-update.zip").is_file())

    def test_download_addresses_must_be_https_or_loopback(self):
        for refused in ["http://updates.example.com", "ftp://127.0.0.1", "updates.example.com",
                        "https://host/with\ttab", "https://host/?q=1"]:
            with self.subTest(url=refused):
                self.assertEqual(self.release.make(base_url=refused), 1)
                self.assertFalse(self.release.out.exists())
        self.assertEqual(self.release.make(base_url="http://127.0.0.1:8123"), 0)
        answer = (self.release.out / "admin" / "vercheck.asp").read_bytes()
        self.assertIn(b"\thttp://127.0.0.1:8123/Velbrook-", answer)

    def test_refuses_a_key_other_than_the_built_in_one_and_test_builds(self):
        other_key = pathlib.Path(self.tmp.name) / "other.pem"
        new_key(other_key)
        manifest = json.loads(self.release.manifest.read_text())
        tests_build = dict(manifest, configuration="tests")
        stale_library = pathlib.Path(self.tmp.name) / "dist" / "Renovix.dll"
        cases = [("another key", self.release.manifest, other_key, None),
                 ("a build made for the tests", tests_build, self.release.key, None),
                 ("a library without the key", self.release.manifest, self.release.key,
                  b"MZ library without it")]
        for what, manifest, key, library in cases:
            with self.subTest(what):
                if isinstance(manifest, dict):
                    path = pathlib.Path(self.tmp.name) / "case.json"
                    path.write_text(json.dumps(manifest))
                    manifest = path
                if library:
                    stale_library.write_bytes(library)
                self.assertEqual(self.release.make(manifest=manifest, key=key), 1)
                self.assertFalse(self.release.out.exists())
                stale_library.write_bytes(self.release.contents["Renovix.dll"])

    def test_missing_program_file_makes_no_release(self):
        manifest = json.loads(self.release.manifest.read_text())
        manifest["files"].append(str(pathlib.Path(self.tmp.name) / "dist" / "Gone.dll"))
        broken = pathlib.Path(self.tmp.name) / "broken.json"
        broken.write_text(json.dumps(manifest))
        self.assertEqual(self.release.make(manifest=broken), 1)
        self.assertFalse(self.release.out.exists())


class ReleaseServer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.folder = pathlib.Path(cls.tmp.name) / "site"
        (cls.folder / "admin").mkdir(parents=True)
        (cls.folder / "admin" / "vercheck.asp").write_bytes(b"1\nVelbrook\t1.2.3.4\t1\t9\nline")
        (cls.folder / "admin" / "release-statement").write_bytes(b"Velbrook release statement\n")
        (cls.folder / "admin" / "release-statement.sig").write_bytes(b"\x5a" * 64)
        (cls.folder / "Velbrook-1.2.3.4-update.zip").write_bytes(bytes(range(256)) * 40)
        (pathlib.Path(cls.tmp.name) / "secret.txt").write_text("outside")
        port_file = pathlib.Path(cls.tmp.name) / "port"
        cls.server = subprocess.Popen(
            [sys.executable, str(TOOLS / "release-server.py"), str(cls.folder), "--port", "0",
             "--port-file", str(port_file)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if port_file.is_file() and port_file.read_text().strip():
                break
            time.sleep(0.1)
        cls.port = int(port_file.read_text())

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.wait(10)
        cls.tmp.cleanup()

    def get(self, path):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        connection.request("GET", path)
        response = connection.getresponse()
        result = response.status, response.getheader("Content-Type"), response.read()
        connection.close()
        return result

    def test_version_check_path_gets_the_answer_and_the_statement(self):
        status, kind, body = self.get("/admin/vercheck.asp?bitver=32")
        self.assertEqual((status, kind), (200, "text/plain"))
        self.assertEqual(body, (self.folder / "admin" / "vercheck.asp").read_bytes())
        for name in ["release-statement", "release-statement.sig"]:
            status, _, body = self.get(f"/admin/{name}")
            self.assertEqual((status, body), (200, (self.folder / "admin" / name).read_bytes()))

    def test_files_are_served_whole(self):
        status, _, body = self.get("/Velbrook-1.2.3.4-update.zip")
        self.assertEqual(status, 200)
        self.assertEqual(body, bytes(range(256)) * 40)

    def test_no_listing_and_nothing_outside_the_folder(self):
        for path in ["/", "/admin/", "/missing.zip", "/../secret.txt", "/admin/../../secret.txt",
                     "/%2e%2e/secret.txt"]:
            with self.subTest(path=path):
                status, _, body = self.get(path)
                self.assertEqual(status, 404)
                self.assertNotIn(b"outside", body)


if __name__ == "__main__":
    unittest.main()
