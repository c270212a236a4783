#!/usr/bin/env python3
"""The update server of the end-to-end tests: the next version's release folder, made by the
release command, served by the reference server on a free loopback port.

  release_fixture.py start FOLDER MANIFEST KEY   serves FOLDER/release, its port in FOLDER/release-server.port
  release_fixture.py stop FOLDER
"""

import importlib.util
import os
import pathlib
import signal
import subprocess
import sys
import time

TOOLS = pathlib.Path(__file__).resolve().parents[2] / "tools"


def start(folder, manifest, key):
    folder = pathlib.Path(folder)
    stop(folder)
    release = folder / "release"
    release.mkdir(parents=True, exist_ok=True)
    port_file = folder / "release-server.port"
    port_file.unlink(missing_ok=True)
    with open(os.devnull) as null, open(folder / "release-server.log", "w") as log:
        # Its own session, no inherited descriptors: ctest waits for the pipes it hands out.
        server = subprocess.Popen(
            [sys.executable, str(TOOLS / "release-server.py"), str(release), "--port", "0",
             "--port-file", str(port_file)],
            stdin=null, stdout=log, stderr=log, close_fds=True, start_new_session=True)
    (folder / "release-server.pid").write_text(str(server.pid))
    for _ in range(200):
        if port_file.is_file() and port_file.read_text().strip():
            break
        time.sleep(0.05)
    port = int(port_file.read_text())
    # The release command itself refuses a build made for the tests; its library does the same
    # work for the tests' server.
    spec = importlib.util.spec_from_file_location("make_release", TOOLS / "make-release.py")
    tool = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(tool)
    try:
        tool.release(manifest, f"http://127.0.0.1:{port}", key, release, for_tests=True)
    except tool.ReleaseError as error:
        print(f"release_fixture: {error}", file=sys.stderr)
        return 1
    return 0


def stop(folder):
    pid_file = pathlib.Path(folder) / "release-server.pid"
    if pid_file.is_file():
        try:
            os.kill(int(pid_file.read_text()), signal.SIGTERM)
        except (ProcessLookupError, ValueError):
            pass
        pid_file.unlink()
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "start":
        sys.exit(start(*sys.argv[2:]))
    if len(sys.argv) == 3 and sys.argv[1] == "stop":
        sys.exit(stop(sys.argv[2]))
    print(__doc__, file=sys.stderr)
    sys.exit(2)
