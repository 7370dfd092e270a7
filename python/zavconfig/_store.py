# SPDX-License-Identifier: MIT
"""Stores, their items and collections, on the library's handles.

Every Python object here owns exactly one library handle and releases it exactly once: when it
is released explicitly (``close()``, ``release()``, leaving a ``with`` block, or handing an item
to its collection's ``remove``) or, failing that, when it is garbage collected. An item keeps its
store object alive, so a store is never closed under an item by the garbage collector; closing it
explicitly makes every item of it raise ``InvalidHandleError`` (the library refuses their
handles), never crash.

Values of properties (str, int, float, bool) are kept by the item object that read them until
anything changes a store through this package, so reading a property again costs an attribute
look-up instead of a call into the library. That is exact, not a guess: a store opened here is
reachable only through this package's handles, and every change made through them (any setter,
create, remove, reference change, read or close of a store) drops every kept value before the
next read can see it.
"""
from __future__ import annotations

import ctypes
import dataclasses
import os
import threading
import uuid
import weakref
from typing import (TYPE_CHECKING, Any, Callable, ContextManager, Dict, Generic, ItemsView,
                    Iterator, List, Mapping, Optional, Tuple, Type, TypeVar, Union, ValuesView,
                    cast, overload)

from . import _capi
from ._capi import (ViBoolean, ViInt32, ViReal64, ViSession, check_bool, check_int32, check_real,
                    count_issued, count_released, encode, fail, fn)
from ._errors import ErrorCode, InvalidHandleError, NotFoundError, SessionNotFoundError

T = TypeVar("T")
I = TypeVar("I", bound="Item")

PathArg = Union[str, "os.PathLike[str]"]
#: The value of a data component: a structure's value is the mapping of its members' values.
Value = Union[bool, int, float, str, Dict[str, "Value"]]
#: A value of a setting as a resolution lists it: structures are flattened into their members.
Setting = Union[bool, int, float, str]

_byref = ctypes.byref
_dispose = _capi.dispose_handle


def _issue(call: Callable[..., int], *args: Any) -> int:
    """Calls a function that writes a new handle and returns it (0 for an empty reference)."""
    out = ViSession()
    status = call(*args, _byref(out))
    if status < 0:
        if out.value:  # some functions write their output before failing: not leaked
            _dispose(out.value)
        fail(status)
    return out.value


# --- kept values -----------------------------------------------------------------------------
#
# An item keeps the values it read in its instance dictionary, where Python finds them before
# the (non-data) property descriptor, at the cost of a dictionary look-up. Items holding values
# are listed (weakly) in _keeping; a change bumps _generation and empties every listed
# dictionary. A reader notes the generation before it calls the library and drops what it kept
# if the generation moved meanwhile, so a value read before a change is never kept after it.

_generation = 0
_change_lock = threading.Lock()
_keeping: Dict[int, "weakref.ref[Item]"] = {}
_keeping_bound = 1024


def _changed() -> None:
    """Forgets every kept value: called after each call that may change a store."""
    global _generation, _keeping
    with _change_lock:
        _generation += 1
        listed, _keeping = _keeping, {}
    while listed:
        try:
            _, ref = listed.popitem()
        except KeyError:  # emptied by another thread meanwhile
            break
        item = ref()
        if item is not None:
            item.__dict__.clear()


def _list(item: Item) -> None:
    """Lists an item that keeps values, so the next change empties them."""
    global _keeping_bound
    keeping = _keeping
    keeping[id(item)] = weakref.ref(item)
    if len(keeping) > _keeping_bound:  # entries of items that are gone, now and then
        for key in [k for k, ref in list(keeping.items()) if ref() is None]:
            keeping.pop(key, None)
        _keeping_bound = max(1024, 2 * len(keeping))


# --- handles ---------------------------------------------------------------------------------


class _Owner:
    """Owns one library handle (of any kind but the store kind)."""

    __slots__ = ("_h", "_store")

    def __init__(self, store: Store, handle: int) -> None:
        self._store = store
        self._h = handle
        count_issued()

    def release(self) -> None:
        """Releases the handle now instead of at garbage collection. The object is spent
        afterwards (every use raises InvalidHandleError); the item in the store is untouched."""
        h = self._h
        if h:
            self._h = 0
            if _dispose(h) == 0:
                count_released()

    # __del__ also runs while the interpreter shuts down, when module globals may be gone: what
    # it needs is kept on the class, and nothing it does may raise.
    _dispose_handle = staticmethod(_dispose)
    _count_released = staticmethod(count_released)

    def __del__(self) -> None:
        try:
            h = self._h
            if h:
                self._h = 0
                if self._dispose_handle(h) == 0:
                    self._count_released()
        except Exception:
            pass

    def _forget(self) -> None:
        """The library released the handle itself (a destroy call)."""
        if self._h:
            self._h = 0
            count_released()

    def __reduce__(self) -> Any:
        # A copy would share the handle, and a pickle would carry a number that means nothing
        # elsewhere: fetch the item again instead.
        raise TypeError("%s objects cannot be copied or pickled" % type(self).__name__)

    def __enter__(self: T) -> T:
        return self

    def __exit__(self, *exc: object) -> None:
        self.release()

    @property
    def store(self) -> Store:
        """The store this object belongs to."""
        return self._store


class Item(_Owner):
    """Base of every item of a store. Properties are set by assignment (``item.name = "x"``);
    setting a name that is no property of the item raises AttributeError."""

    __slots__ = ("__dict__", "__weakref__")
    name: Any  # every kind has a name, with the setter its kind allows

    def __setattr__(self, name: str, value: Any) -> None:
        if name[0] == "_":  # the object's own state
            object.__setattr__(self, name, value)
            return
        attr = _class_attribute(type(self), name)
        if isinstance(attr, _Property):
            attr._write(self, value)
        elif isinstance(attr, (property, _Reference)):
            object.__setattr__(self, name, value)
        else:
            raise AttributeError("%s has no property %r" % (type(self).__name__, name))

    def release(self) -> None:
        self.__dict__.clear()
        super().release()

    def _forget(self) -> None:
        self.__dict__.clear()
        super()._forget()

    def __repr__(self) -> str:
        try:
            return "<%s %r>" % (type(self).__name__, self.name)
        except Exception as e:  # a released item, or an item of a closed store
            return "<%s (%s)>" % (type(self).__name__, e)


# --- properties ------------------------------------------------------------------------------


def _class_attribute(cls: type, name: str) -> Any:
    """What the class defines under a name, descriptors as they are (not what they give)."""
    for klass in cls.__mro__:
        if name in vars(klass):
            return vars(klass)[name]
    return None


class _Property(Generic[T]):
    """A property of an item: read through the library once, then kept until the next change
    (see above); set through the library."""

    def __init__(self, read: Callable[[Any], T], write: Callable[[Any, Any], None],
                 doc: str) -> None:
        self._read = read
        self._write = write
        self.__doc__ = doc
        self._name = ""
        # What the class shows for it: help() lists a settable property with its text, where it
        # would list this object among the methods. (Its functions are never called: an
        # instance reaches this descriptor, not the property.)
        self._shown = property(read, write, doc=doc)

    def __set_name__(self, owner: type, name: str) -> None:
        self._name = name

    @overload
    def __get__(self, obj: None, owner: Any) -> property: ...

    @overload
    def __get__(self, obj: object, owner: Any) -> T: ...

    def __get__(self, obj: Any, owner: Any) -> Any:
        if obj is None:
            return self._shown
        generation = _generation
        value = self._read(obj)
        if type(value) in _KEPT:  # values that cannot change behind the caller's back
            name = self._name
            values = obj.__dict__
            values[name] = value
            keeping = _keeping
            key = id(obj)
            listed = keeping.get(key)
            if listed is None or listed() is not obj:  # (an id is reused once its object goes)
                _list(obj)
            # A change came in between (what was read may be old), or the object was released.
            if _generation != generation or not obj._h:
                values.pop(name, None)
        return value

    # No __set__ at run time: that would make Python ask the descriptor before the kept value.
    # Item.__setattr__ routes assignments to _write.
    if TYPE_CHECKING:
        def __set__(self, obj: Any, value: T) -> None: ...


_KEPT = frozenset((str, int, float, bool))


def _string(getter: Callable[..., int], setter: Callable[..., int], pid: int,
            doc: str) -> _Property[str]:
    local = _capi._local
    size = _capi._BUFFER_SIZE
    create = ctypes.create_string_buffer

    def read(obj: Any) -> str:  # _capi.get_string, one call the fewer
        try:
            buf = local.buf
        except AttributeError:
            buf = local.buf = create(size)
        status = getter(obj._h, pid, size, buf)
        while status > 0:
            buf = create(status)
            status = getter(obj._h, pid, status, buf)
        if status < 0:
            fail(status)
        return cast(bytes, buf.value).decode("utf-8", "surrogateescape")

    def write(obj: Any, value: Any) -> None:
        status = setter(obj._h, pid, encode(value))
        _changed()
        if status < 0:
            fail(status)

    return _Property(read, write, doc)


def _int32(getter: Callable[..., int], setter: Callable[..., int], pid: int,
           doc: str) -> _Property[int]:
    def read(obj: Any) -> int:
        out = ViInt32()
        status = getter(obj._h, pid, _byref(out))
        if status < 0:
            fail(status)
        return out.value

    def write(obj: Any, value: Any) -> None:
        status = setter(obj._h, pid, check_int32(value))
        _changed()
        if status < 0:
            fail(status)

    return _Property(read, write, doc)


def _boolean(getter: Callable[..., int], setter: Callable[..., int], pid: int,
             doc: str) -> _Property[bool]:
    def read(obj: Any) -> bool:
        out = ViBoolean()
        status = getter(obj._h, pid, _byref(out))
        if status < 0:
            fail(status)
        return out.value != 0

    def write(obj: Any, value: Any) -> None:
        status = setter(obj._h, pid, 1 if check_bool(value) else 0)
        _changed()
        if status < 0:
            fail(status)

    return _Property(read, write, doc)


class _Reference(Generic[I]):
    """A reference to another item: the item (a new object with its own handle, so nothing is
    kept), or None when it is empty; assigning None clears it."""

    def __init__(self, getter: Callable[..., int], setter: Callable[..., int],
                 item: Callable[[], Type[I]], doc: str) -> None:
        self._getter = getter
        self._setter = setter
        self._item = item
        self.__doc__ = doc
        self._name = ""

    def __set_name__(self, owner: type, name: str) -> None:
        self._name = name

    @overload
    def __get__(self, obj: None, owner: Any) -> _Reference[I]: ...

    @overload
    def __get__(self, obj: object, owner: Any) -> Optional[I]: ...

    def __get__(self, obj: Any, owner: Any) -> Any:
        if obj is None:
            return self
        h = _issue(self._getter, obj._h)
        return self._item()(obj._store, h) if h else None

    def __set__(self, obj: Any, value: Optional[I]) -> None:
        cls = self._item()
        if value is None:
            target = 0
        elif isinstance(value, cls):
            target = value._h
            if not target:  # 0 would clear the reference instead
                raise InvalidHandleError(ErrorCode.INVALID_HANDLE,
                                         "%s: the %s given was released" % (self._name,
                                                                           cls.__name__))
        else:
            raise TypeError("%s must be %s or None, not %s"
                            % (self._name, cls.__name__, type(value).__name__))
        status = self._setter(obj._h, target)
        _changed()
        if status < 0:
            fail(status)


# --- collections -----------------------------------------------------------------------------


class _Family:
    """The C functions of one collection kind."""

    __slots__ = ("count", "by_index", "by_name", "destroy", "item")

    def __init__(self, kind: str, item: Callable[[], Type[Item]], by_name: bool = True,
                 destroy: bool = True) -> None:
        self.count = getattr(fn, "ZavConfig_Get%sCount" % kind)
        self.by_index = getattr(fn, "ZavConfig_Get%sItemByIndex" % kind)
        self.by_name = getattr(fn, "ZavConfig_Get%sItemByName" % kind) if by_name else None
        self.destroy = getattr(fn, "ZavConfig_Destroy%s" % kind) if destroy else None
        self.item = item


class _InOrder(ValuesView[I]):
    """The items of a collection, in index order."""

    __slots__ = ("_collection",)

    def __init__(self, collection: Collection[I]) -> None:
        super().__init__(collection)
        self._collection = collection

    def __iter__(self) -> Iterator[I]:
        return self._collection._iter_items()


class _PairsInOrder(ItemsView[str, I]):
    """(name, item) pairs of a collection, in index order."""

    __slots__ = ("_collection",)

    def __init__(self, collection: Collection[I]) -> None:
        super().__init__(collection)
        self._collection = collection

    def __iter__(self) -> Iterator[Tuple[str, I]]:
        for item in self._collection._iter_items():
            yield item.name, item


class Collection(_Owner, Mapping[str, I]):
    """A collection of items, as a read-only mapping from name to item in index order.

    ``len(c)``, ``name in c``, ``c[name]`` (``KeyError``, precisely ``NotFoundError``, when
    absent), ``c.get(name)``, iteration over the names, ``c.values()`` and ``c.items()`` work as
    for a dict; ``c.at(i)`` fetches by position (0-based). ``remove(item)`` and ``del c[name]``
    destroy an item. Each access fetches from the library afresh, so the mapping always shows the
    store as it is now; every item it hands out is a new object with a handle of its own.
    """

    __slots__ = ()
    _family: _Family

    def __len__(self) -> int:
        out = ViInt32()
        status = self._family.count(self._h, _byref(out))
        if status < 0:
            fail(status)
        return out.value

    def at(self, index: int) -> I:
        """The item at a position, counted from 0 in the order items were added (negative
        positions count from the end); ``IndexError`` outside."""
        index = check_int32(index, "index")
        size = len(self)
        if index < 0:
            index += size
        if not 0 <= index < size:
            raise IndexError("collection index out of range")
        return self._make(_issue(self._family.by_index, self._h, index + 1))

    def _make(self, handle: int) -> I:
        return cast(I, self._family.item()(self._store, handle))

    def _iter_items(self) -> Iterator[I]:
        family = self._family
        for index in range(1, len(self) + 1):
            yield self._make(_issue(family.by_index, self._h, index))

    def __iter__(self) -> Iterator[str]:
        for item in self._iter_items():
            with item:
                yield item.name

    def __getitem__(self, name: str) -> I:
        by_name = self._family.by_name
        if by_name is None:  # kinds without a look-up by name: the first of that name
            encode(name, "name")
            for item in self._iter_items():
                if item.name == name:
                    return item
                item.release()
            raise NotFoundError(ErrorCode.NOT_FOUND,
                                "No item named '%s' in the collection." % name)
        return self._make(_issue(by_name, self._h, encode(name, "name")))

    def __contains__(self, name: object) -> bool:
        if not isinstance(name, str):
            return False
        try:
            self[name].release()
        except NotFoundError:
            return False
        except ValueError:  # a name with NUL: no item can have it
            return False
        return True

    def values(self) -> ValuesView[I]:
        return _InOrder(self)

    def items(self) -> ItemsView[str, I]:
        return _PairsInOrder(self)

    def remove(self, item: I) -> None:
        """Removes the item from the collection and destroys it; ``item`` is spent afterwards.
        Refused (``HasReferencesError``) while other items refer to it."""
        cls = self._family.item()
        if not isinstance(item, cls):
            raise TypeError("remove() takes a %s, not %s" % (cls.__name__, type(item).__name__))
        status = self._family.destroy(self._h, item._h)
        _changed()
        if status < 0:
            fail(status)
        item._forget()

    def __delitem__(self, name: str) -> None:
        self.remove(self[name])

    def __repr__(self) -> str:
        try:
            return "<%s %r>" % (type(self).__name__, list(self))
        except Exception as e:
            return "<%s (%s)>" % (type(self).__name__, e)

    def _create(self, make: Callable[[], int], props: Dict[str, Any]) -> I:
        """Creates an item and sets the properties given; when one cannot be set the item is
        destroyed again, so a failed create leaves nothing behind."""
        cls = self._family.item()
        for key in props:
            if not isinstance(_class_attribute(cls, key), (_Property, _Reference)):
                raise TypeError("%s has no property %r that can be set" % (cls.__name__, key))
        handle = make()
        _changed()
        item = self._make(handle)
        try:
            for key, value in props.items():
                setattr(item, key, value)
        except BaseException:
            self._destroy_quietly(item)
            raise
        return item

    def _destroy_quietly(self, item: Item) -> None:
        status = self._family.destroy(self._h, item._h)
        _changed()
        if status >= 0:
            item._forget()


# --- published APIs --------------------------------------------------------------------------


class PublishedApi(Item):
    """An API a driver implements, keyed by its name, type and two version numbers together."""

    __slots__ = ()
    name = _string(fn.ZavConfig_GetPublishedAPIPropertyViString,
                   fn.ZavConfig_SetPublishedAPIPropertyViString, 1, "The API's name.")
    type = _string(fn.ZavConfig_GetPublishedAPIPropertyViString,
                   fn.ZavConfig_SetPublishedAPIPropertyViString, 2,
                   "The API's type, for example \"C\".")
    major_version = _int32(fn.ZavConfig_GetPublishedAPIPropertyViInt32,
                           fn.ZavConfig_SetPublishedAPIPropertyViInt32, 3, "Major version.")
    minor_version = _int32(fn.ZavConfig_GetPublishedAPIPropertyViInt32,
                           fn.ZavConfig_SetPublishedAPIPropertyViInt32, 4, "Minor version.")

    def __repr__(self) -> str:
        try:
            return "<PublishedApi %s %s %d.%d>" % (self.name, self.type, self.major_version,
                                                   self.minor_version)
        except Exception as e:
            return "<PublishedApi (%s)>" % e


class PublishedApiCollection(Collection[PublishedApi]):
    """The store's published APIs. Several may share a name (with another type or version):
    ``apis[name]`` is the first of that name."""

    __slots__ = ()
    _family = _Family("PublishedAPI", lambda: PublishedApi, by_name=False)

    def create(self, name: str, type: str, *, major_version: int = 0,
               minor_version: int = 0) -> PublishedApi:
        """Creates a published API with its whole key."""
        encode(name, "name")
        btype = encode(type, "type")
        check_int32(major_version, "major_version")
        check_int32(minor_version, "minor_version")
        props: Dict[str, Any] = {}
        first = name
        if major_version or minor_version:
            # The API is created with version 0.0 and then given its versions; under its own
            # name that could collide with an API that has the same name and type at 0.0, so it
            # takes its name last.
            first = "%s (new %s)" % (name, uuid.uuid4().hex)
            props = {"major_version": major_version, "minor_version": minor_version,
                     "name": name}
        bfirst = encode(first, "name")
        return self._create(
            lambda: _issue(fn.ZavConfig_CreatePublishedAPI, self._h, bfirst, btype), props)


class PublishedApiReferences(Collection[PublishedApi]):
    """The published APIs a software module implements: references to APIs of the store.
    ``remove(api)`` and ``del refs[name]`` drop the reference, not the API."""

    __slots__ = ()
    _family = _Family("PublishedAPI", lambda: PublishedApi, by_name=False)

    def add(self, api: PublishedApi) -> None:
        if not isinstance(api, PublishedApi):
            raise TypeError("add() takes a PublishedApi, not %s" % type(api).__name__)
        status = fn.ZavConfig_AddPublishedAPIReference(self._h, api._h)
        _changed()
        if status < 0:
            fail(status)

    def remove(self, item: PublishedApi) -> None:
        if not isinstance(item, PublishedApi):
            raise TypeError("remove() takes a PublishedApi, not %s" % type(item).__name__)
        status = fn.ZavConfig_RemovePublishedAPIReference(self._h, item._h)
        _changed()
        if status < 0:
            fail(status)


# --- data components -------------------------------------------------------------------------

_KINDS = {"Boolean": 1, "Integer": 2, "Real": 3, "String": 4}
_dc_get_string = fn.ZavConfig_GetDataComponentPropertyViString
_dc_set_string = fn.ZavConfig_SetDataComponentPropertyViString
_dc_get_bool = fn.ZavConfig_GetDataComponentPropertyViBoolean
_dc_set_bool = fn.ZavConfig_SetDataComponentPropertyViBoolean
_dc_get_int = fn.ZavConfig_GetDataComponentPropertyViInt32
_dc_set_int = fn.ZavConfig_SetDataComponentPropertyViInt32
_VALUE = 9


class DataComponent(Item):
    """A typed setting. ``type`` is "Boolean", "Integer", "Real", "String", "Structure" or
    "APIReference"; ``value`` is a bool, int, float or str by kind (the text of an API
    reference), and for a structure the dict of its members' values. Properties that do not
    apply to the kind (``units`` of a string, ``members`` of a real) raise InvalidHandleError.
    """

    __slots__ = ("_kind",)
    name = _string(_dc_get_string, _dc_set_string, 1, "The setting's name.")
    description = _string(_dc_get_string, _dc_set_string, 2, "Free text.")
    help_context_id = _int32(_dc_get_int, _dc_set_int, 3, "Help topic number.")
    help_file_path = _string(_dc_get_string, _dc_set_string, 4, "Help file.")
    read_only = _boolean(_dc_get_bool, _dc_set_bool, 5,
                         "A flag for configuration utilities; the library enforces nothing.")
    software_module_key = _string(_dc_get_string, _dc_set_string, 6, "Kept as given.")
    used_in_session = _string(_dc_get_string, _dc_set_string, 8,
                              "\"None\", \"Optional\" or \"Required\": how a session of the "
                              "software module uses the setting.")
    units = _string(_dc_get_string, _dc_set_string, 10, "Units of an integer or real setting.")
    published_api = _Reference(fn.ZavConfig_GetAPIReferencePublishedAPIReference,
                               fn.ZavConfig_SetAPIReferencePublishedAPIReference,
                               lambda: PublishedApi,
                               "The published API an API reference refers to (or None).")

    def __init__(self, store: Store, handle: int) -> None:
        super().__init__(store, handle)
        self._kind = ""

    @property
    def type(self) -> str:
        """The kind: "Boolean", "Integer", "Real", "String", "Structure" or "APIReference"."""
        kind = self._kind
        if not kind:  # a component never changes its kind: read once
            kind = self._kind = _capi.get_string(_dc_get_string, self._h, 7)
        return kind

    @property
    def members(self) -> DataComponentCollection:
        """The members of a structure."""
        return DataComponentCollection(
            self._store, _issue(fn.ZavConfig_GetStructureDataComponentCollection, self._h))

    value = _Property(lambda obj: _read_value(obj), lambda obj, v: _write_value(obj, v),
                      "The value, typed by the kind: bool, int, float or str (the text of an "
                      "API reference); for a structure the dict of its members' values, and "
                      "assigning a mapping sets the members it names.")


def _read_value(obj: DataComponent) -> Value:
    kind = obj.type
    h = obj._h
    if kind == "Integer":
        i = ViInt32()
        status = _dc_get_int(h, _VALUE, _byref(i))
        if status < 0:
            fail(status)
        return i.value
    if kind == "Real":
        d = ViReal64()
        status = fn.ZavConfig_GetDataComponentPropertyViReal64(h, _VALUE, _byref(d))
        if status < 0:
            fail(status)
        return d.value
    if kind == "Boolean":
        b = ViBoolean()
        status = _dc_get_bool(h, _VALUE, _byref(b))
        if status < 0:
            fail(status)
        return b.value != 0
    if kind == "Structure":
        with obj.members as members:
            result: Dict[str, Value] = {}
            for member in members.values():
                with member:
                    result[member.name] = member.value
            return result
    return _capi.get_string(_dc_get_string, h, _VALUE)


def _write_value(obj: DataComponent, value: Any) -> None:
    kind = obj.type
    h = obj._h
    if kind == "Integer":
        status = _dc_set_int(h, _VALUE, check_int32(value))
    elif kind == "Real":
        status = fn.ZavConfig_SetDataComponentPropertyViReal64(h, _VALUE, check_real(value))
    elif kind == "Boolean":
        status = _dc_set_bool(h, _VALUE, 1 if check_bool(value) else 0)
    elif kind == "Structure":
        if not isinstance(value, Mapping):
            raise TypeError("the value of a structure is a mapping of its members' values, "
                            "not %s" % type(value).__name__)
        # Every member is found before any is changed.
        with obj.members as members:
            targets = [(members[name], v) for name, v in value.items()]
            for member, v in targets:
                with member:
                    member.value = v
        return
    else:
        status = _dc_set_string(h, _VALUE, encode(value))
    _changed()
    if status < 0:
        fail(status)


def _kind_of(value: object) -> str:
    if isinstance(value, bool):
        return "Boolean"
    if isinstance(value, int):
        return "Integer"
    if isinstance(value, float):
        return "Real"
    if isinstance(value, str):
        return "String"
    if isinstance(value, PublishedApi):
        return "APIReference"
    if isinstance(value, Mapping):
        return "Structure"
    raise TypeError("a setting's value is a bool, int, float, str, PublishedApi or a mapping "
                    "(a structure), not %s" % type(value).__name__)


class DataComponentCollection(Collection[DataComponent]):
    """The settings of a session, driver session, hardware asset, software module or
    structure."""

    __slots__ = ()
    _family = _Family("DataComponent", lambda: DataComponent, destroy=True)

    def create(self, name: str, value: Union[Value, PublishedApi], *, kind: Optional[str] = None,
               **properties: Any) -> DataComponent:
        """Creates a setting whose kind follows its value: bool "Boolean", int "Integer", float
        "Real", str "String", a PublishedApi an API reference to it, and a non-empty mapping a
        structure with those members (nested mappings nest). ``kind`` ("Boolean", "Integer",
        "Real" or "String") overrides the choice, for example a "Real" from an int. Further
        properties (``units``, ``used_in_session``, ``description``, ...) are keyword
        arguments. A create that fails leaves nothing behind."""
        bname = encode(name, "name")
        if kind is None:
            kind = _kind_of(value)
        elif kind not in _KINDS:
            raise ValueError("kind must be one of %s, not %r" % (", ".join(_KINDS), kind))
        props: Dict[str, Any] = {}
        if kind == "APIReference":
            api = cast(PublishedApi, value)
            make = lambda: _issue(fn.ZavConfig_CreateAPIReference, self._h, bname, api._h)  # noqa
        elif kind == "Structure":
            return self._create_structure(name, cast(Mapping[str, Any], value), properties)
        else:
            number = _KINDS[kind]
            make = lambda: _issue(fn.ZavConfig_CreateDataComponent, self._h, number, bname)  # noqa
            props["value"] = value
        for key in properties:
            if key in ("value", "name", "published_api"):
                raise TypeError("%s is given by create()'s own arguments" % key)
        props.update(properties)
        return self._create_component(make, props)

    def _create_component(self, make: Callable[[], int], props: Dict[str, Any]) -> DataComponent:
        for key in props:
            if key != "value" and not isinstance(_class_attribute(DataComponent, key),
                                                 _Property):
                raise TypeError("DataComponent has no property %r that can be set" % key)
        handle = make()
        _changed()
        item = self._make(handle)
        try:
            for key, v in props.items():
                setattr(item, key, v)
        except BaseException:
            self._destroy_quietly(item)
            raise
        return item

    def _create_structure(self, name: str, members: Mapping[str, Any],
                          properties: Dict[str, Any]) -> DataComponent:
        if not members:
            raise ValueError("a structure needs at least one member")
        for key in members:
            encode(key, "member name")
        first, first_value = next(iter(members.items()))
        first_kind = _kind_of(first_value)
        # The library creates a structure with a first member of a plain kind; when the first
        # member is itself a structure or an API reference, a placeholder of another name takes
        # that place until the real members are in.
        placeholder = None
        if first_kind not in _KINDS:
            placeholder = "placeholder"
            while placeholder in members:
                placeholder += "_"
            seed, seed_kind = placeholder, 1
        else:
            seed, seed_kind = first, _KINDS[first_kind]
        bname, bseed = encode(name, "name"), encode(seed)
        structure = self._create_component(
            lambda: _issue(fn.ZavConfig_CreateStructure, self._h, bname, seed_kind, bseed),
            properties)
        try:
            with structure.members as inner:
                for key, v in members.items():
                    if key == seed:
                        with inner[key] as member:
                            member.value = v
                    else:
                        inner.create(key, v).release()
                if placeholder is not None:
                    inner.remove(inner[placeholder])
        except BaseException:
            self._destroy_quietly(structure)
            raise
        return structure


def _data_components(owner: _Owner) -> DataComponentCollection:
    return DataComponentCollection(
        owner._store, _issue(fn.ZavConfig_GetConfigComponentDataComponentCollection, owner._h))


# --- physical and virtual names --------------------------------------------------------------


class PhysicalRange(Item):
    """A range of repeated-capability instances a physical name offers."""

    __slots__ = ()
    name = _string(fn.ZavConfig_GetPhysicalRangePropertyViString,
                   fn.ZavConfig_SetPhysicalRangePropertyViString, 1, "The range's name.")
    min = _int32(fn.ZavConfig_GetPhysicalRangePropertyViInt32,
                 fn.ZavConfig_SetPhysicalRangePropertyViInt32, 2, "First index.")
    max = _int32(fn.ZavConfig_GetPhysicalRangePropertyViInt32,
                 fn.ZavConfig_SetPhysicalRangePropertyViInt32, 3, "Last index.")


class PhysicalRangeCollection(Collection[PhysicalRange]):
    __slots__ = ()
    _family = _Family("PhysicalRange", lambda: PhysicalRange, by_name=False)

    def create(self, name: str, **properties: Any) -> PhysicalRange:
        """Creates a range (``min`` and ``max`` as keyword arguments; both 0 otherwise)."""
        bname = encode(name, "name")
        return self._create(lambda: _issue(fn.ZavConfig_CreatePhysicalRange, self._h, bname),
                            properties)


class PhysicalName(Item):
    """A repeated-capability name a driver offers, with its ranges and child names."""

    __slots__ = ()
    name = _string(fn.ZavConfig_GetPhysicalNamePropertyViString,
                   fn.ZavConfig_SetPhysicalNamePropertyViString, 1,
                   "The name: letters, digits, '!' and '_'.")
    rc_name = _string(fn.ZavConfig_GetPhysicalNamePropertyViString,
                      fn.ZavConfig_SetPhysicalNamePropertyViString, 2,
                      "The repeated capability it belongs to (not empty).")

    @property
    def ranges(self) -> PhysicalRangeCollection:
        return PhysicalRangeCollection(
            self._store, _issue(fn.ZavConfig_GetPhysicalNamePhysicalRangeCollection, self._h))

    @property
    def children(self) -> PhysicalNameCollection:
        return PhysicalNameCollection(
            self._store,
            _issue(fn.ZavConfig_GetPhysicalNameChildPhysicalNameCollection, self._h))


class PhysicalNameCollection(Collection[PhysicalName]):
    __slots__ = ()
    _family = _Family("PhysicalName", lambda: PhysicalName)

    def create(self, name: str, rc_name: str) -> PhysicalName:
        bname, brc = encode(name, "name"), encode(rc_name, "rc_name")
        return self._create(
            lambda: _issue(fn.ZavConfig_CreatePhysicalName, self._h, bname, brc), {})


class VirtualRange(Item):
    """A range of a virtual name, mapped onto physical indexes."""

    __slots__ = ()
    name = _string(fn.ZavConfig_GetVirtualRangePropertyViString,
                   fn.ZavConfig_SetVirtualRangePropertyViString, 1, "The range's name.")
    min = _int32(fn.ZavConfig_GetVirtualRangePropertyViInt32,
                 fn.ZavConfig_SetVirtualRangePropertyViInt32, 2, "First index.")
    max = _int32(fn.ZavConfig_GetVirtualRangePropertyViInt32,
                 fn.ZavConfig_SetVirtualRangePropertyViInt32, 3, "Last index.")
    starting_physical_index = _int32(fn.ZavConfig_GetVirtualRangePropertyViInt32,
                                     fn.ZavConfig_SetVirtualRangePropertyViInt32, 4,
                                     "The physical index the first virtual one maps to.")


class VirtualRangeCollection(Collection[VirtualRange]):
    __slots__ = ()
    _family = _Family("VirtualRange", lambda: VirtualRange, by_name=False)

    def create(self, name: str, **properties: Any) -> VirtualRange:
        """Creates a range (``min``, ``max``, ``starting_physical_index`` as keyword
        arguments; 0 otherwise)."""
        bname = encode(name, "name")
        return self._create(lambda: _issue(fn.ZavConfig_CreateVirtualRange, self._h, bname),
                            properties)


class VirtualName(Item):
    """A name a test program uses for a physical name of the driver."""

    __slots__ = ()
    name = _string(fn.ZavConfig_GetVirtualNamePropertyViString,
                   fn.ZavConfig_SetVirtualNamePropertyViString, 1,
                   "The name: letters, digits, '!' and '_'.")
    map_to = _string(fn.ZavConfig_GetVirtualNamePropertyViString,
                     fn.ZavConfig_SetVirtualNamePropertyViString, 2,
                     "The physical name it stands for.")

    @property
    def ranges(self) -> VirtualRangeCollection:
        return VirtualRangeCollection(
            self._store, _issue(fn.ZavConfig_GetVirtualNameVirtualRangeCollection, self._h))


class VirtualNameCollection(Collection[VirtualName]):
    __slots__ = ()
    _family = _Family("VirtualName", lambda: VirtualName)

    def create(self, name: str, map_to: str) -> VirtualName:
        bname, bmap = encode(name, "name"), encode(map_to, "map_to")
        return self._create(
            lambda: _issue(fn.ZavConfig_CreateVirtualName, self._h, bname, bmap), {})


# --- software modules and hardware assets ----------------------------------------------------

_sm_get = fn.ZavConfig_GetSoftwareModulePropertyViString
_sm_set = fn.ZavConfig_SetSoftwareModulePropertyViString


class SoftwareModule(Item):
    """A driver: where it lives, the APIs it implements, its physical names and settings."""

    __slots__ = ()
    name = _string(_sm_get, _sm_set, 1, "The module's name.")
    description = _string(_sm_get, _sm_set, 2, "Free text.")
    module_path = _string(_sm_get, _sm_set, 3, "The shared library a driver session loads.")
    prefix = _string(_sm_get, _sm_set, 4, "The driver's function prefix.")
    prog_id = _string(_sm_get, _sm_set, 5, "Kept as given.")
    supported_instrument_models = _string(_sm_get, _sm_set, 6,
                                          "The instrument models it supports, as text.")
    module_path_64 = _string(_sm_get, _sm_set, 8, "The module path for 64-bit programs.")
    assembly_qualified_class_name = _string(_sm_get, _sm_set, 9, "Kept as given.")

    @property
    def physical_names(self) -> PhysicalNameCollection:
        return PhysicalNameCollection(
            self._store, _issue(fn.ZavConfig_GetSoftwareModulePhysicalNameCollection, self._h))

    @property
    def published_apis(self) -> PublishedApiReferences:
        """The published APIs it implements (references to APIs of the store)."""
        return PublishedApiReferences(
            self._store, _issue(fn.ZavConfig_GetSoftwareModulePublishedAPICollection, self._h))

    @property
    def data_components(self) -> DataComponentCollection:
        """The settings it offers; those "Required" are copied into a session that links it."""
        return _data_components(self)


class SoftwareModuleCollection(Collection[SoftwareModule]):
    __slots__ = ()
    _family = _Family("SoftwareModule", lambda: SoftwareModule)

    def create(self, name: str, **properties: Any) -> SoftwareModule:
        """Creates a software module; its properties may be given as keyword arguments."""
        bname = encode(name, "name")
        return self._create(lambda: _issue(fn.ZavConfig_CreateSoftwareModule, self._h, bname),
                            properties)


_ha_get = fn.ZavConfig_GetHardwareAssetPropertyViString
_ha_set = fn.ZavConfig_SetHardwareAssetPropertyViString


class HardwareAsset(Item):
    """An instrument, with the I/O resource it is reached at."""

    __slots__ = ()
    name = _string(_ha_get, _ha_set, 1, "The asset's name.")
    description = _string(_ha_get, _ha_set, 2, "Free text.")
    io_resource_descriptor = _string(_ha_get, _ha_set, 3,
                                     "Where the instrument is reached, e.g. "
                                     "\"TCPIP0::10.0.7.3::INSTR\".")

    @property
    def data_components(self) -> DataComponentCollection:
        """Its settings (used by no session: their used_in_session is "None")."""
        return _data_components(self)


class HardwareAssetCollection(Collection[HardwareAsset]):
    __slots__ = ()
    _family = _Family("HardwareAsset", lambda: HardwareAsset)

    def create(self, name: str, **properties: Any) -> HardwareAsset:
        """Creates a hardware asset; its properties may be given as keyword arguments."""
        bname = encode(name, "name")
        return self._create(lambda: _issue(fn.ZavConfig_CreateHardwareAsset, self._h, bname),
                            properties)


# --- sessions, driver sessions and logical names ---------------------------------------------

_s_get = fn.ZavConfig_GetSessionPropertyViString
_s_set = fn.ZavConfig_SetSessionPropertyViString


class Session(Item):
    """A session: a software module and a hardware asset, with virtual names and settings. A
    driver session reached through a session collection or a logical name is a Session too."""

    __slots__ = ()
    name = _string(_s_get, _s_set, 1, "The session's name.")
    description = _string(_s_get, _s_set, 2, "Free text.")
    hardware_asset = _Reference(fn.ZavConfig_GetSessionHardwareAssetReference,
                                fn.ZavConfig_SetSessionHardwareAssetReference,
                                lambda: HardwareAsset, "The instrument (or None).")
    software_module = _Reference(fn.ZavConfig_GetSessionSoftwareModuleReference,
                                 fn.ZavConfig_SetSessionSoftwareModuleReference,
                                 lambda: SoftwareModule,
                                 "The driver (or None). Linking one copies the settings it "
                                 "requires into the session.")

    @property
    def software_module_name(self) -> str:
        """The name of the module the session was linked to; kept when that module is
        destroyed."""
        return _capi.get_string(_s_get, self._h, 3)

    @property
    def virtual_names(self) -> VirtualNameCollection:
        return VirtualNameCollection(
            self._store, _issue(fn.ZavConfig_GetSessionVirtualNameCollection, self._h))

    @property
    def data_components(self) -> DataComponentCollection:
        """The session's settings."""
        return _data_components(self)


class SessionCollection(Collection[Session]):
    """Every session of the store, driver sessions included."""

    __slots__ = ()
    _family = _Family("Session", lambda: Session)

    def create(self, name: str, **properties: Any) -> Session:
        """Creates a session; its properties may be given as keyword arguments."""
        bname = encode(name, "name")
        return self._create(lambda: _issue(fn.ZavConfig_CreateSession, self._h, bname),
                            properties)


_ds_get = fn.ZavConfig_GetDriverSessionPropertyViString
_ds_set = fn.ZavConfig_SetDriverSessionPropertyViString
_ds_get_bool = fn.ZavConfig_GetDriverSessionPropertyViBoolean
_ds_set_bool = fn.ZavConfig_SetDriverSessionPropertyViBoolean


class DriverSession(Session):
    """A session a driver opens, with its driver setup and six option flags."""

    __slots__ = ()
    driver_setup = _string(_ds_get, _ds_set, 10, "Text handed to the driver when it starts.")
    cache = _boolean(_ds_get_bool, _ds_set_bool, 4, "Keep instrument state in the driver.")
    interchange_check = _boolean(_ds_get_bool, _ds_set_bool, 5, "Check interchangeability.")
    query_instr_status = _boolean(_ds_get_bool, _ds_set_bool, 6,
                                  "Query the instrument's status after each operation.")
    range_check = _boolean(_ds_get_bool, _ds_set_bool, 7, "Check values against their ranges.")
    record_coercions = _boolean(_ds_get_bool, _ds_set_bool, 8, "Record coerced values.")
    simulate = _boolean(_ds_get_bool, _ds_set_bool, 9, "Simulate the instrument.")


class DriverSessionCollection(Collection[DriverSession]):
    """The driver sessions of the store (each is in the session collection too)."""

    __slots__ = ()
    _family = _Family("DriverSession", lambda: DriverSession)

    def create(self, name: str, **properties: Any) -> DriverSession:
        """Creates a driver session (all six flags off); its properties may be given as keyword
        arguments, e.g. ``software_module=drv, hardware_asset=scope, simulate=True``."""
        bname = encode(name, "name")
        return self._create(lambda: _issue(fn.ZavConfig_CreateDriverSession, self._h, bname),
                            properties)


_ln_get = fn.ZavConfig_GetLogicalNamePropertyViString
_ln_set = fn.ZavConfig_SetLogicalNamePropertyViString


class LogicalName(Item):
    """The name a test program opens; it leads to a session or driver session."""

    __slots__ = ()
    name = _string(_ln_get, _ln_set, 1, "The logical name.")
    description = _string(_ln_get, _ln_set, 2, "Free text.")
    session = _Reference(fn.ZavConfig_GetLogicalNameSessionReference,
                         fn.ZavConfig_SetLogicalNameSessionReference, lambda: Session,
                         "The session it leads to (or None); a DriverSession may be given.")


class LogicalNameCollection(Collection[LogicalName]):
    __slots__ = ()
    _family = _Family("LogicalName", lambda: LogicalName)

    def create(self, name: str, **properties: Any) -> LogicalName:
        """Creates a logical name; ``session=`` and ``description=`` may be given."""
        bname = encode(name, "name")
        return self._create(lambda: _issue(fn.ZavConfig_CreateLogicalName, self._h, bname),
                            properties)


# --- resolution ------------------------------------------------------------------------------


@dataclasses.dataclass(frozen=True)
class Resolution:
    """What a driver needs to open an instrument by name, read in one go (it holds no handles).

    For a plain session (no driver session), ``driver_setup`` is "" and the flags are False.
    ``software_module`` and ``hardware_asset`` are the names of the items found in the store,
    or None; ``module_path`` and ``prefix`` are then "", ``io_resource_descriptor`` too.
    ``settings`` maps each setting's name to its value, members of a structure as
    ``"structure/member"``; ``virtual_names`` maps each virtual name to what it maps to.
    """

    name: str
    logical_name: Optional[str]
    session_name: str
    driver_session: bool
    software_module: Optional[str]
    software_module_name: str
    module_path: str
    prefix: str
    hardware_asset: Optional[str]
    io_resource_descriptor: str
    driver_setup: str
    cache: bool
    interchange_check: bool
    query_instr_status: bool
    range_check: bool
    record_coercions: bool
    simulate: bool
    virtual_names: Dict[str, str]
    settings: Dict[str, Setting]


def _flatten(components: DataComponentCollection, prefix: str,
             out: Dict[str, Setting]) -> None:
    with components:
        for component in components.values():
            with component:
                name = prefix + component.name
                if component.type == "Structure":
                    _flatten(component.members, name + "/", out)
                else:
                    out[name] = cast(Setting, component.value)


# --- the store -------------------------------------------------------------------------------

_st_get = fn.ZavConfig_GetConfigStorePropertyViString
_st_set = fn.ZavConfig_SetConfigStorePropertyViString


class Store:
    """An open configuration store.

    ``Store()`` is a new empty store; ``Store.open(path)`` reads a store file and
    ``Store.open()`` the master store the registry names; ``Store.edit(path)`` is the safe
    read-modify-write of a shared store file. A store is a context manager and is closed at the
    end of the ``with`` block (or by ``close()``, or at garbage collection once no item of it is
    left); nothing is written unless ``save()`` is called.

    Its items are reached through six collections (``logical_names``, ``sessions``,
    ``driver_sessions``, ``hardware_assets``, ``software_modules``, ``published_apis``), and by
    name as a driver reaches them: ``resolve(name)``, ``get_driver_session(name)``,
    ``get_session(name)``.
    """

    __slots__ = ("_h", "__weakref__")

    def __init__(self) -> None:
        self._h = _issue(fn.ZavConfig_Initialize)
        count_issued()

    @classmethod
    def open(cls, path: Optional[PathArg] = None) -> Store:
        """Reads the store file at ``path`` (the master store of the registry when None)."""
        store = cls()
        try:
            location = store.master_location if path is None else os.fspath(path)
            status = fn.ZavConfig_Deserialize(store._handle(), encode(location, "path"))
            _changed()
            store._check(status)
        except BaseException:
            store.close()
            raise
        return store

    @classmethod
    def edit(cls, path: PathArg, *, timeout: float = 10.0, force: bool = False,
             create_if_missing: bool = False) -> ContextManager[Store]:
        """The safe read-modify-write of a store file that others change too, as a context
        manager::

            with zavconfig.Store.edit("bench.xml") as store:
                store.hardware_assets.create("Scope7", io_resource_descriptor="...")

        It takes the file's lock (``<file>.lock`` beside the file a symbolic link leads to,
        the lock ``zav::Store::edit`` of the C++ interface and the zavconfig utility's editing
        commands take too), waiting up to
        ``timeout`` seconds for another editor, reads the store, runs the block, and saves the
        store back to ``path`` only when the block did not raise. It writes nothing and raises
        ``EditError`` when the lock was not had in time (``reason`` "locked"; the message names
        the holder), when the file changed on disk after it was read ("changed": a program that
        took no lock wrote it), when the file is read-only ("read-only": no write permission
        for the user, or for anybody) unless ``force``, or when the lock file cannot be made
        ("lock-failed"). A file that does not exist is an error unless ``create_if_missing``,
        which starts from an empty store. The store is closed and the lock released in every
        case.
        """
        from ._edit import Edit
        return Edit(os.fspath(path), timeout=timeout, force=force,
                    create_if_missing=create_if_missing)

    # -- life --

    @property
    def closed(self) -> bool:
        return not self._h

    def close(self) -> None:
        """Closes the store: every item of it is destroyed in the library (Python objects of
        them raise InvalidHandleError from now on). Closing again does nothing."""
        h = self._h
        if h:
            self._h = 0
            status = _capi.close_store(h)
            _changed()
            if status == 0:
                count_released()

    # As for items: what __del__ needs is kept on the class.
    _close_store = staticmethod(_capi.close_store)
    _count_released = staticmethod(count_released)
    _forget_values = staticmethod(_changed)

    def __del__(self) -> None:
        # A store is collected only when no item of it is left, but values that items of other
        # stores read through references to it are dropped all the same.
        try:
            h = self._h
            if h:
                self._h = 0
                status = self._close_store(h)
                self._forget_values()
                if status == 0:
                    self._count_released()
        except Exception:
            pass

    def __enter__(self) -> Store:
        return self

    __reduce__ = _Owner.__reduce__

    def __exit__(self, *exc: object) -> None:
        self.close()

    def __repr__(self) -> str:
        if not self._h:
            return "<Store (closed)>"
        try:
            where = self.actual_location
        except Exception as e:
            where = str(e)
        return "<Store %s>" % (repr(where) if where else "(not read from a file)")

    def _handle(self) -> int:
        h = self._h
        if not h:
            raise InvalidHandleError(ErrorCode.INVALID_HANDLE, "The store is closed.")
        return h

    @staticmethod
    def _check(status: int) -> None:
        if status < 0:
            fail(status)

    # -- the file --

    def save(self, path: Optional[PathArg] = None) -> None:
        """Writes the store to ``path`` (where it was read from when None), atomically: a
        failure leaves the old file whole."""
        h = self._handle()
        if path is None:
            location = self.actual_location
            if not location:
                raise ValueError("this store was not read from a file: save() needs a path")
        else:
            location = os.fspath(path)
        self._check(fn.ZavConfig_Serialize(h, encode(location, "path")))

    # -- properties --

    def _get(self, pid: int) -> str:
        return _capi.get_string(_st_get, self._handle(), pid)

    def _get_int(self, pid: int) -> int:
        out = ViInt32()
        self._check(fn.ZavConfig_GetConfigStorePropertyViInt32(self._handle(), pid, _byref(out)))
        return out.value

    @property
    def name(self) -> str:
        return self._get(1)

    @property
    def description(self) -> str:
        """Free text describing the store."""
        return self._get(2)

    @description.setter
    def description(self, value: str) -> None:
        self._check(_st_set(self._handle(), 2, encode(value)))

    @property
    def master_location(self) -> str:
        """The registry's master store (MasterNotFoundError when it names no file)."""
        return self._get(3)

    @property
    def actual_location(self) -> str:
        """Where this store was read from ("" for a store not read from a file)."""
        return self._get(4)

    @property
    def process_default_location(self) -> str:
        return self._get(5)

    @process_default_location.setter
    def process_default_location(self, value: str) -> None:
        """Sets ZAVCONFIGSERVERDEFAULT in the environment of the whole process."""
        self._check(_st_set(self._handle(), 5, encode(value)))

    @property
    def revision(self) -> str:
        return self._get(6)

    @property
    def vendor(self) -> str:
        return self._get(7)

    @property
    def format_major_version(self) -> int:
        return self._get_int(8)

    @property
    def format_minor_version(self) -> int:
        return self._get_int(9)

    # -- collections --

    def _collection(self, cls: Type[T], getter: Callable[..., int]) -> T:
        return cls(self, _issue(getter, self._handle()))  # type: ignore[call-arg]

    @property
    def logical_names(self) -> LogicalNameCollection:
        return self._collection(LogicalNameCollection,
                                fn.ZavConfig_GetConfigStoreLogicalNameCollection)

    @property
    def sessions(self) -> SessionCollection:
        """Every session, driver sessions included."""
        return self._collection(SessionCollection, fn.ZavConfig_GetConfigStoreSessionCollection)

    @property
    def driver_sessions(self) -> DriverSessionCollection:
        return self._collection(DriverSessionCollection,
                                fn.ZavConfig_GetConfigStoreDriverSessionCollection)

    @property
    def hardware_assets(self) -> HardwareAssetCollection:
        return self._collection(HardwareAssetCollection,
                                fn.ZavConfig_GetConfigStoreHardwareAssetCollection)

    @property
    def software_modules(self) -> SoftwareModuleCollection:
        return self._collection(SoftwareModuleCollection,
                                fn.ZavConfig_GetConfigStoreSoftwareModuleCollection)

    @property
    def published_apis(self) -> PublishedApiCollection:
        return self._collection(PublishedApiCollection,
                                fn.ZavConfig_GetConfigStorePublishedAPICollection)

    # -- look-ups by name, as a driver makes them --

    def get_session(self, name: str) -> Session:
        """The session a logical name leads to, else the session of that name
        (``SessionNotFoundError``, a ``KeyError``, when there is none)."""
        h = _issue(fn.ZavConfig_GetSession, self._handle(), encode(name, "name"))
        if not h:
            raise SessionNotFoundError(ErrorCode.SESSION_NOT_FOUND,
                                       "The '%s' logical name references no session." % name)
        return Session(self, h)

    def get_driver_session(self, name: str) -> DriverSession:
        """The driver session a logical name leads to, else the driver session of that name
        (``SessionNotFoundError`` when there is none)."""
        return DriverSession(
            self, _issue(fn.ZavConfig_GetDriverSession, self._handle(), encode(name, "name")))

    def resolve(self, name: str) -> Resolution:
        """Everything a driver needs for a logical name (or a session name), in one object:
        the driver session it leads to (else the plain session), its module path and prefix,
        the instrument's I/O resource, the driver setup, the six flags, the virtual names and
        the settings."""
        try:
            session: Session = self.get_driver_session(name)
        except SessionNotFoundError:
            session = self.get_session(name)
        with session:
            driver = isinstance(session, DriverSession)
            with self.logical_names as names:
                logical = name if name in names else None
            module = session.software_module
            if module is not None:
                with module:
                    module_name: Optional[str] = module.name
                    module_path, prefix = module.module_path, module.prefix
            else:
                module_name, module_path, prefix = None, "", ""
            asset = session.hardware_asset
            if asset is not None:
                with asset:
                    asset_name: Optional[str] = asset.name
                    resource = asset.io_resource_descriptor
            else:
                asset_name, resource = None, ""
            virtual: Dict[str, str] = {}
            with session.virtual_names as virtual_names:
                for v in virtual_names.values():
                    with v:
                        virtual[v.name] = v.map_to
            settings: Dict[str, Setting] = {}
            _flatten(session.data_components, "", settings)
            if driver:
                d = cast(DriverSession, session)
                flags = (d.driver_setup, d.cache, d.interchange_check, d.query_instr_status,
                         d.range_check, d.record_coercions, d.simulate)
            else:
                flags = ("", False, False, False, False, False, False)
            return Resolution(name, logical, session.name, driver, module_name,
                              session.software_module_name, module_path, prefix, asset_name,
                              resource, *flags, virtual_names=virtual, settings=settings)
