# SPDX-License-Identifier: MIT
"""The safe edit of a shared store file: the editor lock and the changed-on-disk check.

Every editor of a store file (this package, the C++ interface, the zavconfig utility) follows
the same steps, so they never lose each other's changes:

- The lock belongs to the file the store path leads to through symbolic links (so two editors
  using different link names agree), and is an exclusive ``flock`` on ``<file>.lock`` beside it.
  Its holder writes who it is into that file; a waiter that gives up says who holds it. The
  holder removes the file before it lets go; a waiter that then finds it holds a lock on a
  removed file starts over. A crashed holder's lock is released by the kernel and its stale file
  is simply reused.
- The file's identity, size and times are recorded before the store is read and compared just
  before it is saved: a writer that took no lock makes the edit fail, and nothing is written.
"""
from __future__ import annotations

import datetime
import errno
import fcntl
import os
import socket
import time
from typing import Optional, Tuple

from ._errors import EditError, SerializeError, ErrorCode
from ._store import Store

_MAX_LINKS = 40
_FIRST_WAIT = 0.005
_LONGEST_WAIT = 0.1

StatKey = Tuple[int, int, int, int, int]


def target_of(path: str) -> str:
    """The file a store path leads to through symbolic links (a relative link is taken from
    the link's own directory); a dangling link names the file it would create."""
    current = path
    for _ in range(_MAX_LINKS + 1):
        try:
            link = os.readlink(current)
        except OSError as e:
            if e.errno in (errno.EINVAL, errno.ENOENT, errno.ENOTDIR, errno.EACCES):
                return current
            raise
        current = link if os.path.isabs(link) else os.path.join(os.path.dirname(current), link)
    raise SerializeError(ErrorCode.SERIALIZE_FAILED,
                         "%s: more than %d symbolic links" % (path, _MAX_LINKS))


def _who() -> bytes:
    """The lock file's text: who holds the lock, one key=value per line."""
    try:
        import pwd
        user = pwd.getpwuid(os.getuid()).pw_name
    except (ImportError, KeyError):
        user = str(os.getuid())
    try:
        with open("/proc/self/cmdline", "rb") as f:
            command = " ".join(a.decode("utf-8", "replace") for a in f.read().split(b"\0") if a)
    except OSError:
        import sys
        command = " ".join(sys.argv)
    since = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")
    lines = ["pid=%d" % os.getpid(), "user=%s" % user, "host=%s" % socket.gethostname(),
             "since=%s" % since, "command=%s" % command.replace("\n", " ")]
    return ("\n".join(lines) + "\n").encode("utf-8", "replace")


def _holder(lock_path: str) -> str:
    """What the lock file says about its holder, as the parenthesis of the timeout message."""
    try:
        with open(lock_path, "rb") as f:
            text = f.read(64 * 1024).decode("utf-8", "replace")
    except OSError:
        text = ""
    fields = {}
    for line in text.splitlines():
        key, sep, value = line.partition("=")
        if sep and value:
            fields[key.strip()] = value.strip()
    parts = []
    if "pid" in fields:
        parts.append("pid " + fields["pid"])
    if "user" in fields:
        parts.append("user " + fields["user"] + (" on " + fields["host"] if "host" in fields
                                                 else ""))
    elif "host" in fields:
        parts.append("on " + fields["host"])
    if "since" in fields:
        parts.append("since " + fields["since"])
    said = ", ".join(parts)
    if "command" in fields:
        said = said + ": " + fields["command"] if said else fields["command"]
    return "(%s)" % said if said else "(holder unknown)"


def _seconds(timeout: float) -> str:
    return "%g s" % timeout


class FileLock:
    """The editor lock of a store file, held from ``acquire()`` (or entering a ``with`` block)
    to ``release()``. ``path`` is the store path as the caller gave it (messages name it)."""

    def __init__(self, path: str, timeout: float = 10.0) -> None:
        self.path = path
        self.target = target_of(path)
        self.lock_path = self.target + ".lock"
        self.timeout = timeout
        self._fd: Optional[int] = None

    @property
    def held(self) -> bool:
        return self._fd is not None

    def _open(self) -> Tuple[int, bool]:
        flags = os.O_RDWR | os.O_CREAT | os.O_CLOEXEC
        try:
            return os.open(self.lock_path, flags, 0o666), True
        except OSError as e:
            if e.errno not in (errno.EACCES, errno.EROFS):
                raise self._cannot(e) from e
        try:  # flock works on a descriptor opened for reading
            return os.open(self.lock_path, os.O_RDONLY | os.O_CLOEXEC), False
        except OSError as e:
            raise self._cannot(e) from e

    def _cannot(self, e: OSError) -> SerializeError:
        return SerializeError(ErrorCode.SERIALIZE_FAILED, "%s: cannot open the lock file %s: %s"
                              % (self.path, self.lock_path, e.strerror))

    def acquire(self) -> None:
        if self._fd is not None:
            raise RuntimeError("the lock of %s is already held" % self.path)
        deadline = time.monotonic() + self.timeout
        wait = _FIRST_WAIT
        while True:
            fd, writable = self._open()
            try:
                while True:
                    try:
                        fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
                        break
                    except OSError as e:
                        if e.errno not in (errno.EWOULDBLOCK, errno.EAGAIN):
                            raise
                    left = deadline - time.monotonic()
                    if left <= 0:
                        raise EditError(
                            "locked", "%s: the store is locked by another editor %s; gave up "
                            "after %s" % (self.path, _holder(self.lock_path),
                                          _seconds(self.timeout)))
                    time.sleep(min(wait, left))
                    wait = min(wait * 2, _LONGEST_WAIT)
                # The previous holder removes the file before it lets go: a lock taken on a
                # removed file guards nothing, so start over on the file now in its place.
                mine = os.fstat(fd)
                try:
                    now = os.stat(self.lock_path)
                    same = (now.st_dev, now.st_ino) == (mine.st_dev, mine.st_ino)
                except FileNotFoundError:
                    same = False
                if not same:
                    os.close(fd)
                    continue
                if writable:
                    try:
                        os.ftruncate(fd, 0)
                        os.pwrite(fd, _who(), 0)
                    except OSError:
                        pass  # the note is for people; the lock holds without it
                self._fd = fd
                return
            except BaseException:
                if self._fd != fd:
                    os.close(fd)
                raise

    def release(self) -> None:
        fd = self._fd
        if fd is None:
            return
        self._fd = None
        try:
            os.unlink(self.lock_path)  # while still held, so no one locks a file about to go
        except OSError:
            pass
        os.close(fd)

    def __enter__(self) -> FileLock:
        self.acquire()
        return self

    def __exit__(self, *exc: object) -> None:
        self.release()

    def __del__(self) -> None:
        try:
            self.release()
        except Exception:
            pass


def _stat_key(path: str) -> Optional[StatKey]:
    try:
        st = os.stat(path)
    except FileNotFoundError:
        return None
    return (st.st_dev, st.st_ino, st.st_size, st.st_mtime_ns, st.st_ctime_ns)


class Edit:
    """The context manager ``Store.edit`` returns."""

    def __init__(self, path: str, *, timeout: float = 10.0, force: bool = False) -> None:
        if not isinstance(path, str):
            raise TypeError("path must be str, not %s" % type(path).__name__)
        self.path = path
        self.timeout = timeout
        self.force = force
        self._lock: Optional[FileLock] = None
        self._store: Optional[Store] = None
        self._before: Optional[StatKey] = None

    def __enter__(self) -> Store:
        lock = FileLock(self.path, self.timeout)
        lock.acquire()
        try:
            target = lock.target
            if (not self.force and os.path.exists(target)
                    and not os.access(target, os.W_OK)):
                raise EditError("read-only", "%s: the store file is read-only; nothing was "
                                "written" % self.path)
            self._before = _stat_key(target)
            # A store file that does not exist yet is created by the edit.
            self._store = Store.open(self.path) if self._before is not None else Store()
        except BaseException:
            lock.release()
            raise
        self._lock = lock
        return self._store

    def __exit__(self, exc_type: object, exc: object, tb: object) -> None:
        store, lock = self._store, self._lock
        self._store = self._lock = None
        if store is None or lock is None:
            return
        try:
            if exc_type is None:
                if _stat_key(lock.target) != self._before:
                    raise EditError("changed", "%s: the store changed on disk since it was "
                                    "read; nothing was written" % self.path)
                store.save(self.path)
        finally:
            store.close()
            lock.release()
