# SPDX-License-Identifier: MIT
"""The exceptions: one ZavError class per status code of the C library, so a caller can catch
exactly the failure it expects, and each carries the code and the library's whole message."""
from __future__ import annotations

import enum
from typing import Dict, Optional, Type, Union


def _status(documented: int) -> int:
    """A code as the library returns it (a negative 32-bit status) from its documented
    0xBFFAxxxx form."""
    return documented - (1 << 32)


class ErrorCode(enum.IntEnum):
    """The status codes of the C library, with their negative values as returned."""

    UNRECOVERABLE = _status(0xBFFA0000)
    INVALID_VALUE = _status(0xBFFA0010)
    NULL_POINTER = _status(0xBFFA0058)
    DESERIALIZE_FAILED = _status(0xBFFA1200)
    ALREADY_DESERIALIZED = _status(0xBFFA1201)
    SERIALIZE_FAILED = _status(0xBFFA1202)
    SESSION_NOT_FOUND = _status(0xBFFA1203)
    NOT_IN_GLOBAL_COLLECTION = _status(0xBFFA1204)
    ALREADY_EXISTS = _status(0xBFFA1205)
    MASTER_NOT_FOUND = _status(0xBFFA1206)
    NOT_FOUND = _status(0xBFFA1207)
    INVALID_DATA_COMPONENT = _status(0xBFFA1208)
    HAS_REFERENCES = _status(0xBFFA1209)
    INVALID_HANDLE = _status(0xBFFA1220)
    INVALID_PROPERTY_ID = _status(0xBFFA1221)
    MASTER_REGISTRY_MISMATCH = _status(0xBFFA1223)


class ZavError(Exception):
    """A failure reported by the configuration library.

    ``code`` is the status (an ``ErrorCode`` member when the library documents it) and
    ``message`` the library's whole message, which is also ``str(error)``.
    """

    code: Union[ErrorCode, int]
    message: str

    def __init__(self, code: int, message: str) -> None:
        super().__init__(code, message)
        try:
            self.code = ErrorCode(code)
        except ValueError:
            self.code = code
        self.message = message

    def __str__(self) -> str:
        return self.message

    def __repr__(self) -> str:
        return "%s(0x%08X, %r)" % (type(self).__name__, self.code & 0xFFFFFFFF, self.message)


class UnrecoverableError(ZavError):
    """0xBFFA0000: memory or a system service failed."""


class InvalidValueError(ZavError, ValueError):
    """0xBFFA0010: a value breaks a rule of the item (an empty name, a bad character, ...)."""


class NullPointerError(ZavError):
    """0xBFFA0058: a NULL output (never caused by this package)."""


class DeserializeError(ZavError):
    """0xBFFA1200: a store document could not be read or is not valid."""


class AlreadyDeserializedError(ZavError):
    """0xBFFA1201: a store reads a document only once in its life."""


class SerializeError(ZavError):
    """0xBFFA1202: the store could not be written."""


class NotFoundError(ZavError, KeyError):
    """0xBFFA1207: no item of that name (or index) in the collection."""

    # KeyError would print the message quoted like a key.
    __str__ = ZavError.__str__


class SessionNotFoundError(NotFoundError):
    """0xBFFA1203: no logical name or session of that name, or a logical name that leads to no
    session."""


class NotInGlobalCollectionError(ZavError):
    """0xBFFA1204: the published API is not in its store's collection."""


class AlreadyExistsError(ZavError):
    """0xBFFA1205: the name (or key) is taken, or the item belongs elsewhere."""


class MasterNotFoundError(ZavError):
    """0xBFFA1206: the registry names no master store, or its file does not exist."""


class InvalidDataComponentError(ZavError):
    """0xBFFA1208: a data component of a kind or content the collection does not take."""


class HasReferencesError(ZavError):
    """0xBFFA1209: the item is still referenced by other items."""


class InvalidHandleError(ZavError):
    """0xBFFA1220: the object is gone (its store closed, the item destroyed or released), or a
    data component used as a kind it is not."""


class InvalidPropertyIdError(ZavError):
    """0xBFFA1221: the property does not apply to the item (never caused by this package)."""


class MasterRegistryMismatchError(ZavError):
    """0xBFFA1223: two registry views disagree (never returned on this platform)."""


class EditError(SerializeError):
    """A safe edit (``Store.edit``) wrote nothing: the lock was not had in time (``reason``
    "locked"), the file changed on disk since it was read ("changed"), it is read-only
    ("read-only"), or its lock file could not be made or locked ("lock-failed")."""

    def __init__(self, reason: str, message: str) -> None:
        super().__init__(ErrorCode.SERIALIZE_FAILED, message)
        self.reason = reason


_BY_CODE: Dict[int, Type[ZavError]] = {
    ErrorCode.UNRECOVERABLE: UnrecoverableError,
    ErrorCode.INVALID_VALUE: InvalidValueError,
    ErrorCode.NULL_POINTER: NullPointerError,
    ErrorCode.DESERIALIZE_FAILED: DeserializeError,
    ErrorCode.ALREADY_DESERIALIZED: AlreadyDeserializedError,
    ErrorCode.SERIALIZE_FAILED: SerializeError,
    ErrorCode.SESSION_NOT_FOUND: SessionNotFoundError,
    ErrorCode.NOT_IN_GLOBAL_COLLECTION: NotInGlobalCollectionError,
    ErrorCode.ALREADY_EXISTS: AlreadyExistsError,
    ErrorCode.MASTER_NOT_FOUND: MasterNotFoundError,
    ErrorCode.NOT_FOUND: NotFoundError,
    ErrorCode.INVALID_DATA_COMPONENT: InvalidDataComponentError,
    ErrorCode.HAS_REFERENCES: HasReferencesError,
    ErrorCode.INVALID_HANDLE: InvalidHandleError,
    ErrorCode.INVALID_PROPERTY_ID: InvalidPropertyIdError,
    ErrorCode.MASTER_REGISTRY_MISMATCH: MasterRegistryMismatchError,
}


def error_class(code: int) -> Type[ZavError]:
    """The ZavError subclass of a status code (ZavError itself for a code the library does not
    document)."""
    return _BY_CODE.get(code, ZavError)


def error_for(code: int, message: str, cls: Optional[Type[ZavError]] = None) -> ZavError:
    return (cls or error_class(code))(code, message)
