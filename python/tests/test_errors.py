# SPDX-License-Identifier: MIT
"""Each failure the library reports reaches Python as the ZavError of its code, with the whole
message."""
import pytest

import zavconfig
from zavconfig import ErrorCode

PREFIX = "ZAV Configuration Server C API: "


def _duplicate(store):
    store.hardware_assets.create("a")
    store.hardware_assets.create("a")


def _referenced(store):
    ds = store.driver_sessions.create("d")
    store.logical_names.create("n", session=ds)
    store.driver_sessions.remove(ds)


def _api_reference_on_asset(store):
    api = store.published_apis.create("Dmm", "C")
    store.hardware_assets.create("a").data_components.create("r", api)


def _closed(store):
    collection = store.logical_names
    store.close()
    len(collection)


def _no_master(store, tmp_path, monkeypatch):
    registry = tmp_path / "registry.ini"
    registry.write_text("[Software\\ZAV\\CONFIGURATIONSERVER]\nMasterStore=%s\n"
                        % (tmp_path / "missing.xml"))
    monkeypatch.setenv("ZAV_REGISTRY", str(registry))
    zavconfig.Store.open()


def _bad_document(store, tmp_path):
    path = tmp_path / "bad.xml"
    path.write_text("<ZavConfigStore><Unknown/></ZavConfigStore>")
    zavconfig.Store.open(path)


CASES = [
    ("empty name", lambda s, t, m: s.logical_names.create(""),
     ErrorCode.INVALID_VALUE, zavconfig.InvalidValueError, "cannot be empty"),
    ("bad document", lambda s, t, m: _bad_document(s, t),
     ErrorCode.DESERIALIZE_FAILED, zavconfig.DeserializeError, "Deserialize failed."),
    ("unwritable path", lambda s, t, m: s.save(t / "no" / "such" / "dir" / "x.xml"),
     ErrorCode.SERIALIZE_FAILED, zavconfig.SerializeError, "Serialize failed."),
    ("unknown session", lambda s, t, m: s.get_driver_session("nothing"),
     ErrorCode.SESSION_NOT_FOUND, zavconfig.SessionNotFoundError, "'nothing'"),
    ("duplicate", lambda s, t, m: _duplicate(s),
     ErrorCode.ALREADY_EXISTS, zavconfig.AlreadyExistsError, "already exists"),
    ("no master store", _no_master,
     ErrorCode.MASTER_NOT_FOUND, zavconfig.MasterNotFoundError, "master configuration store"),
    ("unknown name", lambda s, t, m: s.software_modules["nothing"],
     ErrorCode.NOT_FOUND, zavconfig.NotFoundError, "Item nothing does not exist"),
    ("API reference on an asset", lambda s, t, m: _api_reference_on_asset(s),
     ErrorCode.INVALID_DATA_COMPONENT, zavconfig.InvalidDataComponentError, "'Optional'"),
    ("referenced", lambda s, t, m: _referenced(s),
     ErrorCode.HAS_REFERENCES, zavconfig.HasReferencesError, "has references"),
    ("closed store", lambda s, t, m: _closed(s),
     ErrorCode.INVALID_HANDLE, zavconfig.InvalidHandleError, "Handle does not exist"),
]


@pytest.mark.parametrize("what, fault, code, cls, text", CASES, ids=[c[0] for c in CASES])
def test_each_failure_raises_the_error_of_its_code(zav_store, tmp_path, monkeypatch,
                                                   what, fault, code, cls, text):
    with pytest.raises(cls) as caught:
        fault(zav_store, tmp_path, monkeypatch)
    error = caught.value
    assert type(error) is cls and isinstance(error, zavconfig.ZavError)
    assert error.code == code and error.code is code
    assert str(error) == error.message and error.message.startswith(PREFIX)
    assert text in error.message


def test_errors_are_also_the_python_errors_they_mean(zav_store):
    with pytest.raises(LookupError):
        zav_store.logical_names["nothing"]
    with pytest.raises(KeyError):
        zav_store.get_session("nothing")
    with pytest.raises(ValueError):
        zav_store.logical_names.create("")


def test_messages_arrive_whole_however_long(zav_store):
    name = "N" * 5000
    with pytest.raises(zavconfig.NotFoundError) as caught:
        zav_store.hardware_assets[name]
    assert caught.value.message.endswith(name + " does not exist in the collection.")


def test_every_code_the_library_records_has_its_own_error():
    """Codes no call of the package can provoke (a failed allocation, say) too: what the
    library records is raised as the class of its code, with the whole text."""
    from zavconfig import _capi
    classes = set()
    for code in ErrorCode:
        text = "%s recorded %s" % (code.name, "x" * 400)
        assert _capi.lib.ZavSession_SetError(0, int(code), text.encode()) == 0
        with pytest.raises(zavconfig.ZavError) as caught:
            _capi.fail(int(code))
        assert (caught.value.code, caught.value.message) == (code, text)
        classes.add(type(caught.value))
    assert len(classes) == len(ErrorCode) and zavconfig.ZavError not in classes
