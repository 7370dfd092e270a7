# SPDX-License-Identifier: MIT
"""Whatever a caller passes or does, Python gets an exception and the interpreter lives on:
wrong types, NUL, bytes that are not UTF-8, use after close, several threads, shutdown."""
import copy
import os
import pickle
import subprocess
import sys
import threading

import pytest

import zavconfig

BAD_INPUT = [
    ("number as name", lambda s: s.logical_names.create(5), TypeError),
    ("None as name", lambda s: s.hardware_assets.create(None), TypeError),
    ("bytes as name", lambda s: s.sessions.create(b"x"), TypeError),
    ("NUL in name", lambda s: s.software_modules.create("a\0b"), ValueError),
    ("None as description", lambda s: setattr(s, "description", None), TypeError),
    ("NUL in look-up", lambda s: s.logical_names["a\0"], ValueError),
    ("NUL in path", lambda s: zavconfig.Store.open("x\0.xml"), ValueError),
    ("float as flag", lambda s: s.driver_sessions.create("d", simulate=1.5), TypeError),
    ("str as version", lambda s: s.published_apis.create("A", "C", major_version="2"),
     TypeError),
    ("bool as integer", lambda s: s.published_apis.create("A", "C", major_version=True),
     TypeError),
    ("integer beyond 32 bits", lambda s: s.published_apis.create("A", "C", minor_version=2**31),
     OverflowError),
    ("list as setting", lambda s: s.hardware_assets.create("a").data_components.create("x", []),
     TypeError),
    ("unknown kind", lambda s: s.hardware_assets.create("a").data_components.create(
        "x", 1, kind="Complex"), ValueError),
    ("lone surrogate", lambda s: setattr(s, "description", "\ud800"), UnicodeEncodeError),
]


@pytest.mark.parametrize("what, call, error", BAD_INPUT, ids=[b[0] for b in BAD_INPUT])
def test_bad_input_raises_and_changes_nothing(zav_store, what, call, error):
    description = zav_store.description
    with pytest.raises(error):
        call(zav_store)
    assert zav_store.description == description
    assert len(zav_store.logical_names) == len(zav_store.published_apis) == 0
    assert len(zav_store.software_modules) == len(zav_store.sessions) == 0
    assert all(len(a.data_components) == 0 for a in zav_store.hardware_assets.values())


def test_strings_of_any_length_and_bytes_that_are_not_utf8(zav_store, tmp_path):
    long_text = "é" * 70000
    asset = zav_store.hardware_assets.create("a", description=long_text)
    assert asset.description == long_text
    # Bytes that are not UTF-8 read back as lone surrogates and are written back as the same
    # bytes; the library refuses to save such a store.
    raw = "caf\udce9 \udcff"
    asset.io_resource_descriptor = raw
    assert zav_store.hardware_assets["a"].io_resource_descriptor == raw
    with pytest.raises(zavconfig.SerializeError):
        zav_store.save(tmp_path / "s.xml")
    assert not (tmp_path / "s.xml").exists()


def test_everything_of_a_closed_store_raises(zav_store):
    ds = zav_store.driver_sessions.create("d")
    names = zav_store.logical_names
    settings = ds.data_components
    zav_store.close()
    zav_store.close()
    assert zav_store.closed
    for use in (lambda: ds.simulate, lambda: setattr(ds, "simulate", True),
                lambda: ds.hardware_asset, lambda: len(names), lambda: names.create("x"),
                lambda: list(settings), lambda: zav_store.description,
                lambda: zav_store.logical_names, lambda: zav_store.resolve("d"),
                lambda: zav_store.save("x.xml")):
        with pytest.raises(zavconfig.InvalidHandleError):
            use()
    with ds, names:  # releasing them afterwards is fine
        pass
    assert "closed" in repr(zav_store) and "Handle does not exist" in repr(ds)


def test_a_released_item_is_spent(zav_store):
    session = zav_store.sessions.create("s")
    name = zav_store.logical_names.create("n", session=session)
    spent = zav_store.sessions["s"]
    spent.release()
    spent.release()
    for use in (lambda: spent.name, lambda: zav_store.sessions.remove(spent),
                lambda: setattr(name, "session", spent)):
        with pytest.raises(zavconfig.InvalidHandleError):
            use()
    assert name.session.name == "s"  # not cleared by the spent object
    # A copy would own the same handle.
    for obj in (name, zav_store.logical_names, zav_store):
        with pytest.raises(TypeError):
            copy.copy(obj)
        with pytest.raises(TypeError):
            pickle.dumps(obj)


def test_handles_are_counted_and_given_back(zav_store):
    before = zavconfig.live_handles()
    for i in range(500):
        zav_store.logical_names.create("n%d" % i)  # dropped at once
    assert zavconfig.live_handles() == before
    kept = [zav_store.logical_names[n] for n in ("n1", "n2")]
    assert zavconfig.live_handles() == before + 2
    with kept[0]:
        pass
    assert zavconfig.live_handles() == before + 1
    zav_store.logical_names.remove(kept[1])
    assert zavconfig.live_handles() == before


def test_threads_share_a_store(zav_store):
    failures = []

    def work(t: int) -> None:
        try:
            for i in range(40):
                name = "t%d_%d" % (t, i)
                ds = zav_store.driver_sessions.create(name, simulate=bool(i % 2))
                zav_store.logical_names.create("L" + name, session=ds)
                assert zav_store.resolve("L" + name).simulate == bool(i % 2)
                # Each thread reads its own failure, not another thread's.
                try:
                    zav_store.hardware_assets[name]
                except zavconfig.NotFoundError as e:
                    assert name in e.message
                if i % 3 == 0:
                    del zav_store.logical_names["L" + name]
                    zav_store.driver_sessions.remove(ds)
        except BaseException as e:  # pragma: no cover - reported below
            failures.append(e)

    threads = [threading.Thread(target=work, args=(t,)) for t in range(6)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert failures == []
    assert len(zav_store.driver_sessions) == 6 * (40 - 14)
    assert len(zav_store.logical_names) == 6 * (40 - 14)

    # Closing the store while other threads use it: they get InvalidHandleError, nothing worse.
    started, outcomes = threading.Barrier(4), []

    def use() -> None:
        started.wait()
        try:
            while True:
                for name in zav_store.logical_names:
                    zav_store.resolve(name)
        except zavconfig.InvalidHandleError:
            outcomes.append("refused")
        except BaseException as e:  # pragma: no cover - reported below
            outcomes.append(e)

    users = [threading.Thread(target=use) for _ in range(3)]
    for t in users:
        t.start()
    started.wait()
    zav_store.close()
    for t in users:
        t.join()
    assert outcomes == ["refused"] * 3


def _python(code: str, **env: str) -> subprocess.CompletedProcess:
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env={**os.environ, **env}, timeout=60)


def test_shutdown_with_objects_alive_is_quiet():
    done = _python(
        "import zavconfig\n"
        "store = zavconfig.Store()\n"
        "ds = store.driver_sessions.create('d')\n"
        "cycle = [ds.data_components]; cycle.append(cycle)\n"
        "other = zavconfig.Store(); name = other.logical_names.create('n'); other.close()\n")
    assert (done.returncode, done.stderr) == (0, "")


def test_a_missing_library_says_what_to_do():
    done = _python("import ctypes\n"
                   "def refuse(*a, **k): raise OSError('not here')\n"
                   "ctypes.CDLL = refuse\n"
                   "import zavconfig\n", ZAVCONFIG_LIBRARY="/nowhere/libzavconfig.so.1")
    assert done.returncode != 0
    assert "ImportError: zavconfig cannot load the C library libzavconfig.so.1" in done.stderr
    assert "/nowhere/libzavconfig.so.1 (ZAVCONFIG_LIBRARY): not here" in done.stderr
    assert "set ZAVCONFIG_LIBRARY" in done.stderr
