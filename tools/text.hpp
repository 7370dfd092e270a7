// SPDX-License-Identifier: MIT
// Small text helpers every part of the utility uses: one word list for booleans, one edit
// distance for "did you mean", one way to read an environment variable with a fallback.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zavtool {

// on/off, true/false, yes/no, 1/0 in any letter case; nothing for any other text.
std::optional<bool> ParseBoolean(const std::string& text);
inline const char* const kBooleanWords = "on/off, true/false, yes/no, 1/0";

std::string Lower(std::string text);

// The number of single-character insertions, deletions and substitutions from a to b.
size_t EditDistance(const std::string& a, const std::string& b);

// The candidate closest to text when it is close enough to be a likely typo (letter case
// ignored), else "".
std::string Closest(const std::string& text, const std::vector<std::string>& candidates);

// The environment variable's value, or fallback when it is unset or empty.
std::string EnvOr(const char* name, const std::string& fallback);

// "a/b/c" as {"a", "b", "c"}: the path of a nested item (a structure's member, a nested name).
std::vector<std::string> SplitPath(const std::string& path);

// "a, b, c"
std::string Join(const std::vector<std::string>& items, const std::string& separator = ", ");

// text as one word of a shell command: quoted when it holds anything but letters, digits and
// -_./:=@,+ (for the commands the utility suggests).
std::string ShellWord(const std::string& text);

}  // namespace zavtool
