#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A configuration utility's side: describe the bench multimeter and give it the logical name
BenchDMM, in a store file shared with other editors (the safe edit waits for them).

    python3 bench_station.py PORT [--store FILE]

adds (or updates) the driver, the instrument at TCPIP0::127.0.0.1::PORT::SOCKET, the driver
session joining them and the logical name, in the master store or in FILE.
"""
import argparse
from typing import Optional

import zavconfig


def configure(port: int, store: Optional[str] = None) -> None:
    with zavconfig.Store.edit(store if store is not None else _master()) as config:
        modules = config.software_modules
        driver = modules.get("simdmm") or modules.create(
            "simdmm", prefix="simdmm", description="SCPI multimeter over a socket")
        if "Timeout" not in driver.data_components:
            driver.data_components.create("Timeout", 2000, units="ms",
                                          used_in_session="Required")
        assets = config.hardware_assets
        dmm = assets.get("DMM_Bench") or assets.create("DMM_Bench")
        dmm.io_resource_descriptor = "TCPIP0::127.0.0.1::%d::SOCKET" % port
        sessions = config.driver_sessions
        session = sessions.get("DMM_Bench_simdmm") or sessions.create(
            "DMM_Bench_simdmm", software_module=driver, hardware_asset=dmm)
        names = config.logical_names
        logical = names.get("BenchDMM") or names.create("BenchDMM")
        logical.session = session


def _master() -> str:
    """The master store the registry names."""
    with zavconfig.Store() as empty:
        return empty.master_location


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("port", type=int)
    parser.add_argument("--store")
    args = parser.parse_args()
    configure(args.port, args.store)


if __name__ == "__main__":
    main()
