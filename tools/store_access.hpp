// SPDX-License-Identifier: MIT
// Reading the store a command works on, and reporting failures with what the user needs to
// fix them: the library's own message as it stands, then lines of the utility's own (the file
// that is missing, the registry that is at fault and why it was read, what to run).
#pragma once

#include <string>
#include <vector>

#include "zavconfig.hpp"

namespace zavtool {

// The process exit status of every command: 0 done, 1 the store or the registry is at fault
// (the reason went to standard error), 2 a usage error.
enum Exit { kOk = 0, kFault = 1, kUsage = 2 };

// A failure in the utility's own words: what went wrong, then what to do about it.
struct Refusal {
  std::string message;
  std::vector<std::string> hints;
};

// "zavconfig: <context>: <message>" on standard error, then each hint indented on its own line.
int Fail(const std::string& context, const std::string& message,
         const std::vector<std::string>& hints = {});
int Fail(const std::string& context, const Refusal& refusal);
// A library error met while working on file ("" for the master store), with the hints below.
int Fail(const std::string& context, const zav::Error& error, const std::string& file);

// What the user needs beside the library's message: "no such file" for a store that is not
// there, the registry read (and why) with its fault and `zavconfig doctor` when the registry
// names no master store or no schema.
std::vector<std::string> Hints(const zav::Error& error, const std::string& file);

// The store path a command works on: file, or the registry's master store when it is empty.
// Throws zav::Error.
std::string StorePath(const std::string& file);

// A store read from file, or from the registry's master store when file is empty.
struct OpenStore {
  zav::Store store;
  std::string path;  // as given, or as the registry names it
};
// Throws zav::Error.
OpenStore Open(const std::string& file);

}  // namespace zavtool
