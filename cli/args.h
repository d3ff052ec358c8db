#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvr::cli {

// Command-line arguments with "--name value" options taken out wherever they stand.
class Args {
public:
    explicit Args(std::vector<std::string> args) : m_args(std::move(args)) {}

    // Removes "--name VALUE" and returns VALUE; an option given without its value is an error.
    std::optional<std::string> takeOption(const std::string& name);
    // Removes "--name" and says whether it was there.
    bool takeFlag(const std::string& name);
    // Whether "--name" was given without a value (set by takeOption).
    bool missingValue() const { return m_missingValue; }
    const std::vector<std::string>& positional() const { return m_args; }
    // The first argument that still looks like an option, if any.
    std::optional<std::string> unknownOption() const;

private:
    std::vector<std::string> m_args;
    bool m_missingValue = false;
};

// Prints "kvr610-cli: message" on stderr and returns the failure status.
int fail(const std::string& message);
constexpr int kUsageError = 2;
constexpr int kFailure = 1;

} // namespace kvr::cli
