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
from typing import Optional, Tuple, Union

from ._errors import EditError
from ._store import Store

_MAX_LINKS = 40
_FIRST_WAIT = 0.005
_LONGEST_WAIT = 0.1

StatKey = Tuple[int, int, int, int, int]


def target_of(path: str) -> str:
    """The file a store path leads to through symbolic links (a relative link is taken from
    the link's own directory); a dangling link names the file it would create."""
    current = path
    for _ in range(_MAX_LINKS):
        try:
            link = os.readlink(current)
        except OSError:  # not a link, or nothing there
            return current
        current = link if os.path.isabs(link) else os.path.join(os.path.dirname(current), link)
    return current


def _who() -> bytes:
    """The lock file's text: who holds the lock, one key=value per line."""
    try:
        import pwd
        user = pwd.getpwuid(os.geteuid()).pw_name
    except (ImportError, KeyError):
        user = str(os.geteuid())
    try:
        with open("/proc/self/cmdline", "rb") as f:
            raw = f.read(8192)
    except OSError:
        raw = b""
    command = raw.rstrip(b"\0").replace(b"\0", b" ").replace(b"\n", b" ")
    since = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")
    head = "pid=%d\nuser=%s\nhost=%s\nsince=%s\ncommand=" % (
        os.getpid(), user, socket.gethostname(), since)
    return head.encode("utf-8", "surrogateescape") + command + b"\n"


def _holder(lock_path: str) -> str:
    """The holder a lock file names, as one phrase: "pid 1234, user ana on host7, since ...:
    command", or "holder unknown" when it names none."""
    try:
        fd = os.open(lock_path, os.O_RDONLY | os.O_CLOEXEC | os.O_NONBLOCK)
        try:
            text = os.read(fd, 8192).decode("utf-8", "replace")
        finally:
            os.close(fd)
    except OSError:
        text = ""

    def field(key: str) -> str:
        for line in text.split("\n"):
            if line.startswith(key + "="):
                return line[len(key) + 1:]
        return ""

    pid, user, host = field("pid"), field("user"), field("host")
    since, command = field("since"), field("command")
    if not pid:
        return "holder unknown"
    holder = "pid " + pid
    if user:
        holder += ", user " + user + (" on " + host if host else "")
    if since:
        holder += ", since " + since
    if command:
        holder += ": " + command
    return holder


def _seconds(timeout: float) -> str:
    return "%g s" % timeout


class FileLock:
    """The editor lock of a store file, held from ``acquire()`` (or entering a ``with`` block)
    to ``release()``. ``path`` is the store path as the caller gave it (messages name it)."""

    def __init__(self, path: Union[str, "os.PathLike[str]"], timeout: float = 10.0) -> None:
        self.path = os.fspath(path)
        if not isinstance(self.path, str):
            raise TypeError("path must be str, not %s" % type(self.path).__name__)
        self.target = target_of(self.path)
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
                raise self._cannot("make the lock file", e) from e
        try:  # flock works on a descriptor opened for reading
            return os.open(self.lock_path, os.O_RDONLY | os.O_CLOEXEC), False
        except OSError as e:
            raise self._cannot("make the lock file", e) from e

    def _cannot(self, what: str, e: OSError) -> EditError:
        return EditError("lock-failed", "%s: cannot %s %s: %s"
                         % (self.path, what, self.lock_path, os.strerror(e.errno or 0)))

    def acquire(self) -> None:
        """Takes the lock, waiting up to ``timeout`` seconds for another holder (then
        ``EditError``, reason "locked", naming the holder), and records who holds it."""
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
                            raise self._cannot("lock", e) from e
                    left = deadline - time.monotonic()
                    if left <= 0:
                        raise EditError(
                            "locked", "%s: the store is locked by another editor (%s); gave up "
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
        """Removes the lock file and lets go (nothing when the lock is not held)."""
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


def _read_only(path: str) -> bool:
    """The user may not write the file, or nobody may (no write permission bit at all, which
    also stops root, who may write anything)."""
    if not os.access(path, os.W_OK):
        return True
    try:
        return os.stat(path).st_mode & 0o222 == 0
    except OSError:
        return False


def _stat_key(path: str) -> Optional[StatKey]:
    try:
        st = os.stat(path)
    except FileNotFoundError:
        return None
    return (st.st_dev, st.st_ino, st.st_size, st.st_mtime_ns, st.st_ctime_ns)


class Edit:
    """The context manager ``Store.edit`` returns."""

    def __init__(self, path: str, *, timeout: float = 10.0, force: bool = False,
                 create_if_missing: bool = False) -> None:
        if not isinstance(path, str):
            raise TypeError("path must be str, not %s" % type(path).__name__)
        self.path = path
        self.timeout = timeout
        self.force = force
        self.create_if_missing = create_if_missing
        self._lock: Optional[FileLock] = None
        self._store: Optional[Store] = None
        self._before: Optional[StatKey] = None

    def __enter__(self) -> Store:
        lock = FileLock(self.path, self.timeout)
        lock.acquire()
        try:
            target = lock.target
            self._before = _stat_key(target)
            if self._before is not None and not self.force and _read_only(target):
                raise EditError("read-only", "%s: the store file is read-only; nothing was "
                                "written" % self.path)
            if self._before is None and self.create_if_missing:
                self._store = Store()
            else:
                self._store = Store.open(self.path)
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
