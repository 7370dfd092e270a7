# SPDX-License-Identifier: MIT
"""The safe edit of a shared store: editors in several processes lose nothing, a lock held too
long is reported with its holder, and a store changed or refused on disk is not written."""
import fcntl
import os
import socket
import subprocess
import sys
import threading
import time
from typing import List

import pytest

import zavconfig

WORKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "edit_worker.py")
# The C++ editor (cpp_editor.cpp) and the zavconfig utility, built with the library; ctest
# names them.
CPP_EDITOR = os.environ.get("ZAV_TEST_CPP_EDITOR", "")
CLI = os.environ.get("ZAV_TEST_CLI", "")
needs_cpp = pytest.mark.skipif(not CPP_EDITOR or not CLI,
                               reason="ZAV_TEST_CPP_EDITOR or ZAV_TEST_CLI is not set")


def editor(kind: str, path: str, ident: int, count: int, *timeout_ms: int) -> List[str]:
    """An editor process that makes count edits and prints the name of each that succeeded."""
    if kind == "cpp":
        return [CPP_EDITOR, path, str(ident), str(count), *map(str, timeout_ms)]
    if kind == "cli":  # one utility run per edit
        return ["bash", "-c", 'for k in $(seq 0 $(($3 - 1))); do name=cli$2_$k; '
                '"$0" hardware-asset add "$name" TCPIP0::10.0.0.1::INSTR -f "$1" >/dev/null '
                '&& echo "$name"; done', CLI, path, str(ident), str(count)]
    return [sys.executable, WORKER, path, str(ident), str(count)]


def asset_names(path) -> set:
    with zavconfig.Store.open(path) as store:
        return set(store.hardware_assets)


@needs_cpp
@pytest.mark.parametrize("editors", [2, 4, 8])
def test_concurrent_editors_lose_nothing(zav_registry, tmp_path, editors):
    """Python editors, C++ editors and the utility in turn, 4 edits each, while the file is
    read."""
    path = str(tmp_path / "shared.xml")
    with zavconfig.Store() as store:
        store.save(path)
    reads, stop, faults = [0], threading.Event(), []

    def reader() -> None:  # the file must read whole at every moment
        while not stop.is_set():
            try:
                with zavconfig.Store.open(path):
                    reads[0] += 1
            except zavconfig.ZavError as e:
                faults.append(e)

    watcher = threading.Thread(target=reader)
    watcher.start()
    workers = [subprocess.Popen(editor(("py", "cpp", "cli")[i % 3], path, i, 4),
                                stdout=subprocess.PIPE, text=True) for i in range(editors)]
    outputs = [w.communicate(timeout=120)[0].split("\n") for w in workers]
    stop.set()
    watcher.join()
    reported = {line for out in outputs for line in out if line}
    assert all(w.returncode == 0 for w in workers)
    assert faults == [] and reads[0] > 0
    # Every edit that reported success is in the file, and nothing else is.
    assert reported == asset_names(path)
    assert len(reported) == 4 * editors
    assert not os.path.exists(path + ".lock")


def test_a_held_lock_is_reported_with_its_holder(zav_registry, tmp_path):
    path = str(tmp_path / "s.xml")
    with zavconfig.FileLock(path) as held:
        start = time.monotonic()
        with pytest.raises(zavconfig.EditError) as caught:
            with zavconfig.Store.edit(path, timeout=0.3):
                pass
        assert 0.3 <= time.monotonic() - start < 2
        e = caught.value
        assert e.reason == "locked" and e.code == zavconfig.ErrorCode.SERIALIZE_FAILED
        holder = "(pid %d, user " % os.getpid()
        assert e.message.startswith(path + ": the store is locked by another editor " + holder)
        assert " on %s, since 20" % socket.gethostname() in e.message
        assert e.message.endswith("); gave up after 0.3 s")
        assert held.held
    assert not os.path.exists(path + ".lock") and not os.path.exists(path)

    # A holder that wrote nothing (or crashed before it did) is unknown.
    fd = os.open(path + ".lock", os.O_RDWR | os.O_CREAT, 0o666)
    fcntl.flock(fd, fcntl.LOCK_EX)
    try:
        with pytest.raises(zavconfig.EditError, match=r"editor \(holder unknown\); gave up"):
            with zavconfig.Store.edit(path, timeout=0.05):
                pass
    finally:
        os.close(fd)
    # Its stale file is simply reused.
    with zavconfig.Store.edit(path, create_if_missing=True) as store:
        store.description = "after"
    assert not os.path.exists(path + ".lock")


def test_nothing_is_written_unless_the_edit_succeeds(zav_registry, tmp_path):
    path = tmp_path / "s.xml"
    with pytest.raises(zavconfig.DeserializeError):
        with zavconfig.Store.edit(path):
            pass
    with zavconfig.Store.edit(path, create_if_missing=True) as store:
        store.description = "first"
    before = path.read_bytes()
    with pytest.raises(RuntimeError):
        with zavconfig.Store.edit(path) as store:
            store.description = "never"
            raise RuntimeError("the block failed")
    assert path.read_bytes() == before and store.closed

    # A writer that took no lock: the edit fails and leaves that writer's file.
    with pytest.raises(zavconfig.EditError) as caught:
        with zavconfig.Store.edit(path) as store:
            store.description = "lost"
            with zavconfig.Store.open(path) as other:
                other.description = "other writer"
                other.save()
    assert caught.value.reason == "changed"
    assert str(caught.value) == ("%s: the store changed on disk since it was read; nothing was "
                                 "written" % path)
    with zavconfig.Store.open(path) as store:
        assert store.description == "other writer"
    assert not os.path.exists(str(path) + ".lock")


def test_links_share_one_lock_and_stay_links(zav_registry, tmp_path):
    real = tmp_path / "real" / "s.xml"
    real.parent.mkdir()
    with zavconfig.Store() as store:
        store.save(real)
    link = tmp_path / "link.xml"
    link.symlink_to(os.path.join("real", "s.xml"))
    with zavconfig.FileLock(real):
        with pytest.raises(zavconfig.EditError):
            with zavconfig.Store.edit(link, timeout=0.05):
                pass
    with zavconfig.Store.edit(link) as store:
        assert os.path.exists(str(real) + ".lock") and not os.path.exists(str(link) + ".lock")
        store.description = "through the link"
    assert link.is_symlink()
    with zavconfig.Store.open(real) as store:
        assert store.description == "through the link"


def test_a_read_only_store_is_refused_unless_forced(zav_registry, tmp_path):
    path = tmp_path / "s.xml"
    with zavconfig.Store() as store:
        store.save(path)
    before = path.read_bytes()
    path.chmod(0o444)  # writable by nobody: refused even for root
    with pytest.raises(zavconfig.EditError) as caught:
        with zavconfig.Store.edit(path) as store:
            store.description = "refused"
    assert (caught.value.reason, caught.value.message) == (
        "read-only", "%s: the store file is read-only; nothing was written" % path)
    assert path.read_bytes() == before
    with zavconfig.Store.edit(path, force=True) as store:
        store.description = "forced"
    assert path.read_bytes() != before


@needs_cpp
def test_python_and_cpp_describe_each_others_lock_alike(zav_registry, tmp_path):
    path = str(tmp_path / "s.xml")
    with zavconfig.FileLock(path):
        with pytest.raises(zavconfig.EditError) as caught:
            with zavconfig.Store.edit(path, timeout=0.05):
                pass
        done = subprocess.run(editor("cpp", path, 0, 1, 50), capture_output=True, text=True,
                              timeout=60)
    assert done.stdout == "failed: %s\n" % caught.value.message
    assert "(pid %d, user " % os.getpid() in done.stdout

    # Any holder's record reads alike to both, here one the utility would write.
    with open(path + ".lock", "w") as f:
        f.write("pid=4242\nuser=ana\nhost=host7\nsince=2026-12-06T15:03:01Z\n"
                "command=zavconfig hardware-asset add X\n")
    fd = os.open(path + ".lock", os.O_RDONLY)
    fcntl.flock(fd, fcntl.LOCK_EX)
    try:
        with pytest.raises(zavconfig.EditError) as caught:
            with zavconfig.Store.edit(path, timeout=0.05):
                pass
        done = subprocess.run(editor("cpp", path, 2, 1, 50), capture_output=True, text=True,
                              timeout=60)
    finally:
        os.close(fd)
    expected = ("%s: the store is locked by another editor (pid 4242, user ana on host7, since "
                "2026-12-06T15:03:01Z: zavconfig hardware-asset add X); gave up after 0.05 s"
                % path)
    assert caught.value.message == expected
    assert done.stdout == "failed: %s\n" % expected
