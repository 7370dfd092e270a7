#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A test program's side: open the bench multimeter by its logical name and measure.

    python3 measure.py [LOGICAL_NAME] [--store FILE]

The name (BenchDMM by default) is resolved in the master store the registry names, or in FILE;
the instrument is opened with PyVISA's pure-Python back end at the I/O resource the store gives
it, with the Timeout setting of its driver session as the VISA timeout.
"""
import argparse
from typing import Optional, Tuple

import pyvisa

import zavconfig


def measure(name: str = "BenchDMM", store: Optional[str] = None) -> Tuple[str, float]:
    """The instrument's identity and one DC voltage reading."""
    with zavconfig.Store.open(store) as config:
        station = config.resolve(name)
    timeout = station.settings.get("Timeout", 2000)
    manager = pyvisa.ResourceManager("@py")
    try:
        dmm = manager.open_resource(station.io_resource_descriptor, read_termination="\n",
                                    write_termination="\n", timeout=timeout)
        try:
            identity = dmm.query("*IDN?").strip()
            volts = float(dmm.query("MEAS:VOLT:DC?"))
        finally:
            dmm.close()
    finally:
        manager.close()
    return identity, volts


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("name", nargs="?", default="BenchDMM")
    parser.add_argument("--store")
    args = parser.parse_args()
    identity, volts = measure(args.name, args.store)
    print("%s: %s" % (args.name, identity))
    print("DC voltage: %.6f V" % volts)


if __name__ == "__main__":
    main()
