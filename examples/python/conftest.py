# SPDX-License-Identifier: MIT
pytest_plugins = ["zavconfig.pytest_plugin"]
