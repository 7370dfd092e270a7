#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A digital multimeter that answers SCPI over a raw TCP socket on 127.0.0.1, enough to stand in
for an instrument: ``*IDN?``, ``*RST``, ``MEASure:VOLTage:DC?`` and ``SYSTem:ERRor?``. Commands
and replies end with a line feed.

    python3 dmm_simulator.py [--port PORT] [--volts VALUE]

prints ``listening on 127.0.0.1:PORT`` (PORT 0, the default, takes a free port) and serves until
it is stopped (Ctrl-C or SIGTERM).
"""
import argparse
import signal
import socketserver
import sys
from typing import List, Optional

IDN = "Zav Instruments,SIM-DMM,0001,1.0"


class Handler(socketserver.StreamRequestHandler):
    def handle(self) -> None:
        for raw in self.rfile:
            for command in raw.decode("ascii", "replace").strip().split(";"):
                reply = self.server.answer(command.strip())  # type: ignore[attr-defined]
                if reply is not None:
                    self.wfile.write((reply + "\n").encode("ascii"))


class Simulator(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True

    def __init__(self, port: int = 0, volts: float = 1.234567) -> None:
        super().__init__(("127.0.0.1", port), Handler)
        self.volts = volts
        self.errors: List[str] = []

    @property
    def port(self) -> int:
        return self.server_address[1]

    def answer(self, command: str) -> Optional[str]:
        # SCPI headers may be long or short (MEASure -> MEAS) and in any letter case.
        words = command.upper().replace("MEASURE", "MEAS").replace("VOLTAGE", "VOLT")
        words = words.replace("SYSTEM", "SYST").replace("ERROR", "ERR")
        if words == "*IDN?":
            return IDN
        if words == "*RST":
            return None
        if words in ("MEAS:VOLT:DC?", "MEAS:VOLT?"):
            return "%+.6E" % self.volts
        if words == "SYST:ERR?":
            return self.errors.pop(0) if self.errors else '+0,"No error"'
        if words:
            self.errors.append('-113,"Undefined header"')
        return None


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--volts", type=float, default=1.234567)
    args = parser.parse_args()
    with Simulator(args.port, args.volts) as server:
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
        print("listening on 127.0.0.1:%d" % server.port, flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
