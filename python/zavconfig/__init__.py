# SPDX-License-Identifier: MIT
"""zavconfig: the station configuration of test and measurement instruments, from Python.

A test program opens its instruments by logical names; a configuration store maps each name to
a driver session, with the driver (software module) and the instrument (hardware asset) it uses,
its flags, virtual names and settings::

    import zavconfig

    with zavconfig.Store.open() as store:          # the master store the registry names
        r = store.resolve("SampleDMM")
        print(r.io_resource_descriptor, r.module_path, r.settings["Timeout"])

Stores are read and written by the C library ``libzavconfig.so.1``, called through ctypes;
this package has no compiled part. It loads the library recorded when it was installed, else the
file named by ``ZAVCONFIG_LIBRARY``, else whatever the dynamic loader finds by name.

Every failure of the library raises a ``ZavError`` (one subclass per status code) with the
library's code and whole message; a missing name raises ``NotFoundError``, which is also a
``KeyError``. Strings are UTF-8; a stored value that is not valid UTF-8 reads back with its
undecodable bytes as lone surrogates (the ``surrogateescape`` rule of file names), and writing
that string back stores the same bytes. A string with a NUL character is refused with
``ValueError``, a value of the wrong type with ``TypeError``.
"""
from ._capi import library_path, live_handles
from ._edit import FileLock
from ._errors import (AlreadyDeserializedError, AlreadyExistsError, DeserializeError, EditError,
                      ErrorCode, HasReferencesError, InvalidDataComponentError,
                      InvalidHandleError, InvalidPropertyIdError, InvalidValueError,
                      MasterNotFoundError, MasterRegistryMismatchError,
                      NotFoundError, NotInGlobalCollectionError, NullPointerError,
                      SerializeError, SessionNotFoundError, UnrecoverableError, ZavError)
from ._store import (Collection, DataComponent, DataComponentCollection, DriverSession,
                     DriverSessionCollection, HardwareAsset, HardwareAssetCollection, Item,
                     LogicalName, LogicalNameCollection, PhysicalName, PhysicalNameCollection,
                     PhysicalRange, PhysicalRangeCollection, PublishedApi,
                     PublishedApiCollection, PublishedApiReferences, Resolution, Session,
                     SessionCollection, Setting, SoftwareModule, SoftwareModuleCollection, Store,
                     Value, VirtualName, VirtualNameCollection, VirtualRange,
                     VirtualRangeCollection)

__version__ = "1.0.0"

__all__ = [
    "AlreadyDeserializedError", "AlreadyExistsError", "Collection", "DataComponent",
    "DataComponentCollection", "DeserializeError", "DriverSession", "DriverSessionCollection",
    "EditError", "ErrorCode", "FileLock", "HardwareAsset", "HardwareAssetCollection",
    "HasReferencesError", "InvalidDataComponentError", "InvalidHandleError",
    "InvalidPropertyIdError", "InvalidValueError", "Item", "LogicalName",
    "LogicalNameCollection", "MasterNotFoundError", "MasterRegistryMismatchError",
    "NotFoundError", "NotInGlobalCollectionError", "NullPointerError", "PhysicalName",
    "PhysicalNameCollection", "PhysicalRange", "PhysicalRangeCollection", "PublishedApi",
    "PublishedApiCollection", "PublishedApiReferences", "Resolution", "SerializeError",
    "Session", "SessionCollection", "SessionNotFoundError", "Setting", "SoftwareModule",
    "SoftwareModuleCollection", "Store", "UnrecoverableError", "Value", "VirtualName",
    "VirtualNameCollection", "VirtualRange", "VirtualRangeCollection", "ZavError",
    "library_path", "live_handles",
]
