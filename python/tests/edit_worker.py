# SPDX-License-Identifier: MIT
"""One editor process of the concurrent-edit test: `edit_worker.py STORE ID COUNT` makes COUNT
safe edits of STORE, each adding a hardware asset, and prints the name of each edit that
reported success (one per line) and "failed: <message>" for each that did not."""
import sys

import zavconfig


def main() -> None:
    path, ident, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    for k in range(count):
        name = "py%s_%d" % (ident, k)
        try:
            with zavconfig.Store.edit(path, timeout=60) as store:
                store.hardware_assets.create(name, io_resource_descriptor="TCPIP0::%s" % name)
        except zavconfig.ZavError as e:
            print("failed: %s" % e, flush=True)
        else:
            print(name, flush=True)


if __name__ == "__main__":
    main()
