#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""What the Python package costs over calling the C library from C, in one process.

    bench/python_bench.py [BUILD_DIR]     (default: build-bench, configured with
                                           -DZAV_BUILD_BENCH=ON)

Both sides run in this process on the same library: the C side is bench/python_bench_c.c,
loaded with ctypes, which times its own calls; the Python side is the zavconfig package of this
source tree. The interpreter's start-up and imports are outside every measure. Measures:

- open + resolve: reading a 1 MB store made by bench/make_store and resolving a logical name
  (``Store.open(path)`` + ``store.resolve(name)`` against the same C calls), then closing it;
- 100,000 property reads of a driver session, a string (the driver setup) and a boolean
  (simulate), through the package's properties against the C getters: as a program makes
  them (an item keeps a value it read until something changes a store), and each as a first
  read, the kept value dropped before it (the cost of a call through ctypes).

CPU time (user + system) of the process around each measure, the two sides interleaved pair by
pair after a warm-up pair, the median and minimum of the per-pair ratios of 7 runs. Everything
runs on one CPU (see bench/run-all for why).
"""
import ctypes
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build-bench"))
RUNS = 7
READS = 100_000
NAME = "Logical0"


def pairs(python_side, c_side):
    """Runs the two sides in turn; returns the Python and C times and the per-pair ratios."""
    python_side(), c_side()  # warm-up
    py, c = [], []
    for _ in range(RUNS):
        py.append(python_side())
        c.append(c_side())
    return py, c, [p / q for p, q in zip(py, c)]


def fmt(values, scale=1.0, unit=""):
    return "%.3f / %.3f%s" % (statistics.median(values) * scale, min(values) * scale, unit)


def main():
    os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})
    helper = os.path.join(BUILD, "bench", "libpython_bench_c.so")
    library = os.path.join(BUILD, "libzavconfig.so.1")
    if not os.path.exists(helper) or not os.path.exists(library):
        sys.exit("build the benches first: cmake -S . -B build-bench -DZAV_BUILD_BENCH=ON "
                 "-DCMAKE_BUILD_TYPE=Release && cmake --build build-bench -j2")
    os.environ["ZAVCONFIG_LIBRARY"] = library
    sys.path.insert(0, os.path.join(ROOT, "python"))
    with tempfile.TemporaryDirectory(prefix="zavpybench.") as tmp:
        empty = os.path.join(tmp, "empty.xml")
        with open(os.path.join(ROOT, "tests", "data", "empty_store.xml"), "rb") as src:
            with open(empty, "wb") as dst:
                dst.write(src.read())
        registry = os.path.join(tmp, "registry.ini")
        with open(registry, "w") as f:
            f.write("[Software\\ZAV\\CONFIGURATIONSERVER]\nMasterStore=%s\n\n[Software\\ZAV]\n"
                    "ZavDataDir=%s/data/\n" % (empty, ROOT))
        os.environ["ZAV_REGISTRY"] = registry  # the library reads it on every look-up
        store_path = os.path.join(tmp, "store1.xml")
        subprocess.run([os.path.join(BUILD, "bench", "make_store"), "1", store_path], check=True)

        import zavconfig
        c = ctypes.CDLL(helper)
        c.zavbench_open_resolve.restype = ctypes.c_double
        c.zavbench_open_resolve.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        c.zavbench_property_reads.restype = ctypes.c_double
        c.zavbench_property_reads.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int,
                                              ctypes.c_int]
        bpath, bname = store_path.encode(), NAME.encode()

        def check(seconds):
            if seconds < 0:
                sys.exit("a C call failed in the benchmark")
            return seconds

        def py_open_resolve():
            start = time.process_time()
            with zavconfig.Store.open(store_path) as store:
                store.resolve(NAME)
            return time.process_time() - start

        rows = []
        py, cc, ratio = pairs(py_open_resolve,
                              lambda: check(c.zavbench_open_resolve(bpath, bname)))
        rows.append(("open 1 MB store + resolve a logical name (ms)", fmt(py, 1e3),
                     fmt(cc, 1e3), fmt(ratio)))

        with zavconfig.Store.open(store_path) as store:
            session = store.get_driver_session(NAME)

            # Plain attribute reads, as a test program writes them.
            def py_string_reads():
                start = time.process_time()
                for _ in range(READS):
                    session.driver_setup
                return time.process_time() - start

            def py_boolean_reads():
                start = time.process_time()
                for _ in range(READS):
                    session.simulate
                return time.process_time() - start

            # Each read a first one: the value the item kept from the last read is dropped.
            def py_string_first_reads():
                values = session.__dict__
                start = time.process_time()
                for _ in range(READS):
                    values.clear()
                    session.driver_setup
                return time.process_time() - start

            def py_boolean_first_reads():
                values = session.__dict__
                start = time.process_time()
                for _ in range(READS):
                    values.clear()
                    session.simulate
                return time.process_time() - start

            for label, python_side, kind in (
                    ("string", py_string_reads, 0), ("boolean", py_boolean_reads, 1),
                    ("string (each a first read)", py_string_first_reads, 0),
                    ("boolean (each a first read)", py_boolean_first_reads, 1)):
                py, cc, ratio = pairs(
                    python_side,
                    lambda: check(c.zavbench_property_reads(bpath, bname, READS, kind)))
                rows.append(("%d reads, %s property (ns per read)" % (READS, label),
                             fmt(py, 1e9 / READS), fmt(cc, 1e9 / READS), fmt(ratio)))
            session.release()

    width = max(len(r[0]) for r in rows)
    print("%-*s  %-17s  %-17s  %s" % (width, "Python vs C, in process (median / min of %d)" % RUNS,
                                      "Python", "C", "ratio"))
    for r in rows:
        print("%-*s  %-17s  %-17s  %s" % (width, r[0], r[1], r[2], r[3]))


if __name__ == "__main__":
    main()
