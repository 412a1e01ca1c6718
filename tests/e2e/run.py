"""Runs scenario modules: python3 run.py test_office [test_router ...]

Several modules run side by side, each in a process and a lab of its own, since one of them
spends most of its time waiting for the real liveness check. Exit status 77 (shown by ctest as
skipped) when this machine cannot make test hosts, unless CI=true, where that is a failure."""

import os
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from netlab import SKIP, can_make_hosts, remove_orphans, spawn  # noqa: E402


def main(modules):
    reason = can_make_hosts()
    if reason:
        if os.environ.get("CI") == "true":
            print(f"virtual-LAN tests cannot run: {reason} (CI=true, so this fails)", file=sys.stderr)
            return 1
        print(f"virtual-LAN tests skipped: {reason}", file=sys.stderr)
        return SKIP
    remove_orphans()
    if len(modules) > 1:
        children = [spawn([sys.executable, __file__, module], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True) for module in modules]
        for child in children:
            print(child.communicate()[0], flush=True)
        return 0 if all(child.returncode == 0 for child in children) else 1
    result = unittest.TextTestRunner(verbosity=2).run(unittest.defaultTestLoader.loadTestsFromNames(modules))
    for test, _ in result.failures + result.errors:
        print(f"\n===== what the lab saw in {test.id()}\n{getattr(getattr(test, 'lab', None), 'summary', '')}")
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
