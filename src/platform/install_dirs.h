// SPDX-License-Identifier: MIT
// The install directories the build was configured for, as absolute paths. They are defined in
// one generated source file, so that configuring for another prefix recompiles that file alone.
#pragma once

namespace zav::platform {

const char* InstallSysconfDir();     // <sysconfdir>, e.g. /usr/local/etc
const char* InstallDataDir();        // <datadir>/zav/, with its '/': where the schema goes
const char* InstallLocalStateDir();  // <localstatedir>, e.g. /usr/local/var

}  // namespace zav::platform
