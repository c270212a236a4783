#!/usr/bin/env python3
"""Serves a release folder of tools/make-release.py as the maker's site, for local trials and
for the tests.

  release-server.py DIR [--bind ADDRESS] [--port PORT] [--port-file FILE]

The program's version check (/admin/vercheck.asp?bitver=32) gets the folder's answer, and
/admin/release-statement with its .sig the signed release statement beside it; every other path
gets the file of that name below DIR. Folders are not listed. Port 0 picks a free
port; --port-file writes the port there once the server listens. Runs until interrupted.
"""

import argparse
import functools
import http.server
import os
import pathlib
import signal
import sys

TYPES = {
    ".asp": "text/plain",
    ".exe": "application/octet-stream",
    ".zip": "application/zip",
    ".sig": "application/octet-stream",
}


class ReleaseHandler(http.server.SimpleHTTPRequestHandler):
    """Files only: the query is ignored, as a static host does; no listings, no caching."""

    def list_directory(self, path):
        self.send_error(404, "Not found")
        return None

    def guess_type(self, path):
        return TYPES.get(os.path.splitext(path)[1].lower(), "application/octet-stream")

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", help="the release folder")
    parser.add_argument("--bind", default="127.0.0.1", help="address to listen on")
    parser.add_argument("--port", type=int, default=8000, help="port (0: any free one)")
    parser.add_argument("--port-file", help="where to write the port once listening")
    args = parser.parse_args(argv)

    folder = pathlib.Path(args.folder).resolve()
    if not folder.is_dir():
        print(f"release-server: no folder {folder}", file=sys.stderr)
        return 1
    handler = functools.partial(ReleaseHandler, directory=str(folder))
    server = http.server.ThreadingHTTPServer((args.bind, args.port), handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if args.port_file:
        pathlib.Path(args.port_file).write_text(f"{port}\n")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print(f"Serving {folder} at http://{args.bind}:{port}/ "
          f"(version check: http://{args.bind}:{port}/admin/vercheck.asp?bitver=32)", flush=True)
    try:
        server.serve_forever()
    except (KeyboardInterrupt, SystemExit):
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
