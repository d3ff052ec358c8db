#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvr::cli {

// The arguments of every command: "--name VALUE" (or "--name=VALUE") options and "--name" flags
// taken out wherever they stand; what is left is positional. A command takes its options, then
// asks for a missing value and for anything left that looks like an option, before it acts.
class Args {
public:
    explicit Args(std::vector<std::string> args) : m_args(std::move(args)) {}

    // Removes "--name VALUE" or "--name=VALUE" and returns VALUE; an option given without its
    // value is an error (see missingValue).
    std::optional<std::string> takeOption(const std::string& name);
    // Removes "--name" and says whether it was there.
    bool takeFlag(const std::string& name);
    // Whether "--name" was given without a value (set by takeOption), and which one.
    bool missingValue() const { return !m_withoutValue.empty(); }
    const std::string& optionWithoutValue() const { return m_withoutValue; }
    const std::vector<std::string>& positional() const { return m_args; }
    // The first argument that still looks like an option, if any.
    std::optional<std::string> unknownOption() const;

private:
    std::vector<std::string> m_args;
    std::string m_withoutValue;
};

// Prints "kvr610-cli: message" on stderr and returns the failure status.
int fail(const std::string& message);
constexpr int kUsageError = 2;
constexpr int kFailure = 1;

} // namespace kvr::cli
