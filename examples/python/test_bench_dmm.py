# SPDX-License-Identifier: MIT
"""End to end: a simulated multimeter on 127.0.0.1, a station whose master store gives it the
logical name BenchDMM, and a test program that opens it by that name with PyVISA."""
import os
import subprocess
import sys

import pytest

import zavconfig
from bench_station import configure
from dmm_simulator import IDN
from measure import measure

HERE = os.path.dirname(os.path.abspath(__file__))


@pytest.fixture
def simulator():
    """The simulator in a process of its own, as an instrument would be; yields its port."""
    proc = subprocess.Popen([sys.executable, os.path.join(HERE, "dmm_simulator.py"),
                             "--volts", "4.99872"], stdout=subprocess.PIPE, text=True)
    try:
        line = proc.stdout.readline()
        assert line.startswith("listening on 127.0.0.1:"), line
        yield int(line.rsplit(":", 1)[1])
    finally:
        proc.terminate()
        proc.wait(timeout=10)


def test_a_test_program_opens_the_bench_dmm_by_name(zav_registry, simulator):
    configure(simulator)  # into the master store of the test's registry
    with zavconfig.Store.open() as store:
        station = store.resolve("BenchDMM")
    assert station.io_resource_descriptor == "TCPIP0::127.0.0.1::%d::SOCKET" % simulator
    assert station.settings == {"Timeout": 2000}

    identity, volts = measure("BenchDMM")
    assert identity == IDN
    assert volts == pytest.approx(4.99872)

    # The same name from the command line, as a user runs the example.
    done = subprocess.run([sys.executable, os.path.join(HERE, "measure.py")],
                          capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    assert done.stdout == "BenchDMM: %s\nDC voltage: 4.998720 V\n" % IDN


def test_a_name_that_leads_nowhere_fails_before_any_instrument_is_opened(zav_registry):
    with pytest.raises(KeyError):
        measure("NoSuchDMM")
