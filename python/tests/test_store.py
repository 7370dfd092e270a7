# SPDX-License-Identifier: MIT
"""The object model: every item kind and property through a save and a read, collections as
mappings, creating with properties, references, structures, and values kept between reads."""
import os

import pytest

import zavconfig

EXAMPLE_STORE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data",
                             "example_store.xml")


def build(store: zavconfig.Store) -> None:
    """A store with every kind of item, each property set to something other than its default."""
    store.description = "Bench 7 — ünïcode"
    apis = store.published_apis
    scope = apis.create("Scope", "C", major_version=2, minor_version=1)
    apis.create("Scope", "C")  # same name and type, other version
    drv = store.software_modules.create(
        "orion5", description="scope driver", module_path="/usr/lib/liborion5.so",
        module_path_64="/usr/lib64/liborion5.so", prefix="orion5", prog_id="Orion.5",
        supported_instrument_models="O5104,O5108", assembly_qualified_class_name="Orion5, 1.0")
    drv.published_apis.add(scope)
    channel = drv.physical_names.create("Channel", "Channel")
    channel.ranges.create("CH", min=1, max=4)
    channel.children.create("Sub_1!", "Sub")
    dcs = drv.data_components
    dcs.create("Timeout", 5000, units="ms", used_in_session="Required", description="d",
               help_context_id=-7, help_file_path="/h.chm", read_only=True,
               software_module_key="K")
    dcs.create("Aperture", 1, kind="Real", units="s", used_in_session="Optional")
    dcs.create("AutoZero", True)
    dcs.create("Function", "DCV")
    dcs.create("Api", scope, used_in_session="Required")
    dcs.create("Configurable Initial Settings", {"Range": 10.5, "Inner": {"On": False}},
               used_in_session="Required")
    asset = store.hardware_assets.create("Scope7", description="rack 7",
                                         io_resource_descriptor="TCPIP0::10.0.7.3::INSTR")
    asset.data_components.create("Serial", "A123")
    plain = store.sessions.create("Plain", description="no driver", hardware_asset=asset)
    plain.virtual_names.create("Probe", "Channel1")
    ds = store.driver_sessions.create(
        "Scope7_orion5", software_module=drv, hardware_asset=asset, driver_setup="Model=O5104",
        cache=True, interchange_check=False, query_instr_status=True, range_check=False,
        record_coercions=True, simulate=True)
    vn = ds.virtual_names.create("Input", "CH")
    vn.ranges.create("In", min=2, max=3, starting_physical_index=5)
    store.logical_names.create("BenchScope", session=ds, description="the scope")
    store.logical_names.create("Nowhere")


def dump(obj: object) -> object:
    """Everything the package reads from an item or collection, recursively, as plain data."""
    if isinstance(obj, zavconfig.Collection):
        with obj:
            return [dump(item) for item in obj.values()]
    if isinstance(obj, zavconfig.Item):
        with obj:
            out = {}
            for klass in type(obj).__mro__:  # (what help() lists)
                for name, attr in vars(klass).items():
                    if name.startswith("_") or name in out or name == "store":
                        continue
                    try:
                        value = getattr(obj, name)
                    except zavconfig.InvalidHandleError:  # not of this component's kind
                        continue
                    if isinstance(value, zavconfig.Item):
                        with value:
                            value = "-> %s %s" % (type(value).__name__, value.name)
                    elif isinstance(value, zavconfig.Collection):
                        value = dump(value)
                    elif callable(value):
                        continue
                    out[name] = value
            return out
    raise TypeError(obj)


def dump_store(store: zavconfig.Store) -> dict:
    out = {"description": store.description,
           **{name: dump(getattr(store, name)) for name in (
               "published_apis", "software_modules", "hardware_assets", "sessions",
               "driver_sessions", "logical_names")}}
    # A file lists driver sessions before plain sessions, whatever order they were made in.
    out["sessions"].sort(key=lambda s: s["name"])
    return out


def test_every_property_of_every_kind_survives_save_and_read(zav_store, tmp_path):
    build(zav_store)
    before = dump_store(zav_store)
    path = tmp_path / "bench.xml"
    zav_store.save(path)
    with zavconfig.Store.open(path) as again:
        assert dump_store(again) == before
        assert again.actual_location == str(path)
    # The dump really reaches the values set (a dump that missed them would compare equal too).
    ds = before["driver_sessions"][0]
    assert [ds[f] for f in ("cache", "interchange_check", "query_instr_status", "range_check",
                            "record_coercions", "simulate")] == [True, False, True, False,
                                                                 True, True]
    assert ds["virtual_names"][0]["ranges"][0] == {
        "name": "In", "min": 2, "max": 3, "starting_physical_index": 5}
    timeout = before["software_modules"][0]["data_components"][0]
    assert (timeout["value"], timeout["help_context_id"], timeout["read_only"]) == (5000, -7, True)
    # Linking the module copied what it requires, structure members only when required.
    assert [c["name"] for c in ds["data_components"]] == ["Timeout", "Api"]
    assert before["description"] == "Bench 7 — ünïcode"


def test_collections_are_mappings_in_index_order(zav_store):
    names = zav_store.logical_names
    for n in ("b", "a", "c"):
        names.create(n).release()
    assert list(names) == ["b", "a", "c"] and len(names) == 3
    assert "a" in names and "z" not in names and 5 not in names and "a\0" not in names
    assert names["c"].name == "c" and names.get("z") is None
    assert [k for k, _ in names.items()] == ["b", "a", "c"]
    assert names.at(-1).name == "c" and names.at(0).name == "b"
    with pytest.raises(IndexError):
        names.at(3)
    with pytest.raises(KeyError):
        names["z"]
    del names["a"]
    assert list(names) == ["b", "c"]
    with pytest.raises(TypeError):
        names.remove(zav_store.hardware_assets.create("x"))
    # Published APIs share names across types and versions; a name finds the first.
    apis = zav_store.published_apis
    apis.create("Dmm", "C", major_version=3)
    apis.create("Dmm", "C")
    assert list(apis) == ["Dmm", "Dmm"] and apis["Dmm"].major_version == 3


def test_a_create_that_fails_leaves_nothing(zav_store):
    assets = zav_store.hardware_assets
    with pytest.raises(TypeError):
        assets.create("a", io_resource_descriptor=5)
    with pytest.raises(TypeError):
        assets.create("a", no_such_property="x")
    with pytest.raises(zavconfig.InvalidValueError):
        assets.create("")
    settings = zav_store.software_modules.create("m").data_components
    with pytest.raises(zavconfig.InvalidValueError):
        settings.create("t", 1, used_in_session="sometimes")
    with pytest.raises(TypeError):
        settings.create("t", 1.5, kind="Integer")
    with pytest.raises(ValueError):
        settings.create("s", {})
    assert len(assets) == 0 and len(settings) == 0
    # A version is given after the API is created: an API of that name at 0.0 is no obstacle,
    # and a clash with the whole key leaves no half-made API behind.
    apis = zav_store.published_apis
    apis.create("Scope", "C")
    apis.create("Scope", "C", major_version=2)
    with pytest.raises(zavconfig.AlreadyExistsError):
        apis.create("Scope", "C", major_version=2)
    assert [(a.name, a.major_version) for a in apis.values()] == [("Scope", 0), ("Scope", 2)]


def test_references_and_resolution(zav_store):
    with zavconfig.Store.open(EXAMPLE_STORE) as example:
        r = example.resolve("SampleDMM")
    assert (r.session_name, r.logical_name, r.driver_session) == (
        "DMM_Rack4_acme34", "SampleDMM", True)
    assert (r.module_path, r.prefix, r.io_resource_descriptor, r.driver_setup) == (
        "/usr/lib/zav/drivers/libacme34.so", "acme34", "TCPIP0::10.0.4.21::INSTR", "Model=A3401")
    assert (r.range_check, r.simulate, r.virtual_names) == (True, False, {"Probe": "Channel1"})
    assert r.settings == {"Timeout": 2000, "Configurable Initial Settings/Aperture": 0.02}

    plain = zav_store.sessions.create("Plain")
    name = zav_store.logical_names.create("Bench", session=plain)
    r = zav_store.resolve("Bench")
    assert (r.driver_session, r.software_module, r.hardware_asset, r.simulate) == (
        False, None, None, False)
    name.session = None
    with pytest.raises(zavconfig.SessionNotFoundError):
        zav_store.resolve("Bench")
    with pytest.raises(KeyError):
        zav_store.resolve("nothing")
    with pytest.raises(TypeError):
        name.session = zav_store.hardware_assets.create("asset")
    with pytest.raises(zavconfig.HasReferencesError):
        name.session = plain
        zav_store.sessions.remove(plain)
    assert zav_store.resolve("Plain").session_name == "Plain"


def test_structures(zav_store):
    settings = zav_store.hardware_assets.create("a").data_components
    s = settings.create("S", {"Inner": {"x": 1}, "y": "text"})
    assert s.value == {"Inner": {"x": 1}, "y": "text"}  # no placeholder left
    s.value = {"y": "new", "Inner": {"x": 2}}
    assert s.value == {"Inner": {"x": 2}, "y": "new"}
    with pytest.raises(KeyError):
        s.value = {"y": "not set", "missing": 1}
    assert s.value["y"] == "new"
    with pytest.raises(zavconfig.InvalidValueError):  # a structure keeps one member
        with s.members as m:
            del m["y"]
            del m["Inner"]
    with pytest.raises(zavconfig.InvalidHandleError):
        settings.create("t", "text").units


def test_kept_values_follow_every_change(zav_store):
    ds = zav_store.driver_sessions.create("d")
    other = zav_store.driver_sessions["d"]
    assert other.simulate is False and other.name == "d"
    ds.simulate = True
    assert other.simulate is True
    ds.name = "renamed"
    assert other.name == "renamed"
    settings = ds.data_components
    setting = settings.create("t", 1)
    again = settings["t"]
    assert again.value == 1
    setting.value = 2
    assert again.value == 2
    asset = zav_store.hardware_assets.create("a", io_resource_descriptor="X")
    again = zav_store.hardware_assets["a"]
    assert again.io_resource_descriptor == "X"
    zav_store.hardware_assets.remove(asset)
    with pytest.raises(zavconfig.InvalidHandleError):
        again.io_resource_descriptor
    other.release()
    with pytest.raises(zavconfig.InvalidHandleError):
        other.simulate
    assert ds.simulate
    zav_store.close()
    with pytest.raises(zavconfig.InvalidHandleError):
        ds.simulate


def test_a_change_or_release_while_a_value_is_read_is_not_missed(zav_store, monkeypatch):
    ds = zav_store.driver_sessions.create("d")
    other = zav_store.driver_sessions["d"]
    simulate = zavconfig.DriverSession.__dict__["simulate"]
    read = simulate._read

    def read_while_another_thread_writes(obj):
        value = read(obj)
        other.simulate = True  # lands after the library answered, before the value is kept
        return value

    monkeypatch.setattr(simulate, "_read", read_while_another_thread_writes)
    assert ds.simulate is False
    monkeypatch.undo()
    assert ds.simulate is True

    def read_while_another_thread_releases(obj):
        value = read(obj)
        obj.release()
        return value

    ds.__dict__.clear()
    monkeypatch.setattr(simulate, "_read", read_while_another_thread_releases)
    assert ds.simulate is True
    monkeypatch.undo()
    with pytest.raises(zavconfig.InvalidHandleError):
        ds.simulate
