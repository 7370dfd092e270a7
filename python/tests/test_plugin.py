# SPDX-License-Identifier: MIT
"""The pytest plugin: a registry and master store of the test's own, gone after the test."""
import os

import pytest

import zavconfig
from zavconfig import pytest_plugin


def test_the_fixtures_give_a_registry_and_store_of_the_tests_own(zav_registry, zav_store):
    assert os.environ["ZAV_REGISTRY"] == zav_registry.path
    assert zav_store.actual_location == zav_registry.master_store == zav_store.master_location
    assert os.path.isfile(zav_registry.data_dir + pytest_plugin.SCHEMA)
    assert len(zav_store.logical_names) == len(zav_store.driver_sessions) == 0
    zav_store.logical_names.create("Mine")
    zav_store.save()
    with zavconfig.Store.open() as master:  # what any reader of the registry now sees
        assert list(master.logical_names) == ["Mine"]


def test_the_registry_is_restored_after_the_test(pytester):
    pytester.makepyfile("""
        import os
        def test_inside(zav_registry):
            assert os.environ["ZAV_REGISTRY"] == zav_registry.path
        def test_after():
            assert os.environ.get("ZAV_REGISTRY") == %r
    """ % os.environ.get("ZAV_REGISTRY"))
    pytester.runpytest_inprocess("-p", "zavconfig.pytest_plugin").assert_outcomes(passed=2)


def test_a_schema_not_found_says_where_it_looked(tmp_path, monkeypatch):
    registry = tmp_path / "registry.ini"
    registry.write_text("[Software\\ZAV]\nZavDataDir=%s/\n" % tmp_path)
    monkeypatch.setenv("ZAV_REGISTRY", str(registry))
    with pytest.raises(FileNotFoundError, match="ZavConfigurationStore_1-6.xsd is in none of"):
        pytest_plugin.find_data_dir()
