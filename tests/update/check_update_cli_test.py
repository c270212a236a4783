#!/usr/bin/env python3
"""velbrookc check-update against the loopback version server.

usage: check_update_cli_test.py WINE_RUN VELBROOKC_EXE OWN_VERSION PORT_FILE
"""

import os
import subprocess
import sys
import urllib.parse
import urllib.request


def main(argv):
    wine_run, exe, own, port_file = argv[1:5]
    with open(port_file) as f:
        base = "http://127.0.0.1:%d" % int(f.read())

    def script(case, body, status=200, mode="normal"):
        query = urllib.parse.urlencode({"status": status, "mode": mode, "body": body})
        with urllib.request.urlopen("%s/_script/%s?%s" % (base, case, query)) as answer:
            assert answer.read() == b"scripted"

    def answer(latest):
        return "1\nVelbrook\t%s\t1\t0\nVelbrook.exe\t\\\t2048\thttp://127.0.0.1/v.zip\t1\t0" % latest

    major, minor, patch, tweak = (int(p) for p in own.split("."))
    higher = "%d.%d.%d.%d" % (major, minor, patch, tweak + 10)
    # (case, site, scripted answer (body, status, mode) or None, exit code, standard output)
    cases = [
        ("same", None, (answer(own), 200, "normal"), 0,
         "Own version: %s\nRemote version: %s\nup to date\n" % (own, own)),
        ("lower", None, (answer("0.9"), 200, "normal"), 0,
         "Own version: %s\nRemote version: 0.9\nup to date\n" % own),
        ("higher", None, (answer(higher), 200, "normal"), 10,
         "Own version: %s\nRemote version: %s\nupdate available\n" % (own, higher)),
        ("four_lines", None, (answer(higher) + "\n", 200, "normal"), 1,
         "Own version: %s\n" % own),
        ("not_found", None, (answer(higher), 404, "normal"), 1, "Own version: %s\n" % own),
        ("hang", None, (answer(higher), 200, "hang"), 1, "Own version: %s\n" % own),
        ("no_server", "http://127.0.0.1:1", None, 1, "Own version: %s\n" % own),
    ]
    failures = 0
    for case, site, scripted, code, output in cases:
        if scripted:
            script("cli_" + case, *scripted)
        env = dict(os.environ, VELBROOK_SITE_URL=site or "%s/cli_%s" % (base, case))
        run = subprocess.run([wine_run, exe, "check-update"], env=env, stdin=subprocess.DEVNULL,
                             capture_output=True, timeout=120)
        got = run.stdout.decode("latin-1").replace("\r\n", "\n")
        if run.returncode != code or got != output:
            failures += 1
            print("FAIL %s: exit %d (want %d), stdout %r (want %r), stderr %r"
                  % (case, run.returncode, code, got, output, run.stderr.decode("latin-1")))
        else:
            print("ok   %s: exit %d" % (case, code))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
