#pragma once
// The command lines of the native tools, read with cxxopts, all answered the
// same way: --help (-h) prints the usage and ends the program with 0; an
// unknown option, a missing value or a stray word prints what is wrong and
// the usage, and ends it with kExitUsage. The options come back in the order
// given, for tools whose options act in turn.

#include <optional>
#include <string>

#include <cxxopts.hpp>

namespace vorn::tools {

constexpr int kExitUsage = 2;

// Adds --help to `options` and reads argv with them. Answers nothing when the
// program is to end at once, with `exitCode`.
std::optional<cxxopts::ParseResult> parseCommandLine(cxxopts::Options& options, int argc,
                                                     const char* const* argv, int& exitCode);

// Prints "<program>: <message>" and the usage on standard error; answers
// kExitUsage.
int usageError(const cxxopts::Options& options, const std::string& message);

}  // namespace vorn::tools
