# SPDX-License-Identifier: MIT
import gc
from typing import Iterator

import pytest

import zavconfig

pytest_plugins = ["zavconfig.pytest_plugin", "pytester"]


@pytest.fixture(autouse=True)
def no_handle_left() -> Iterator[None]:
    """Every test gives back every library handle it made the package take."""
    gc.collect()
    before = zavconfig.live_handles()
    yield
    gc.collect()
    assert zavconfig.live_handles() == before, "the test left library handles behind"
