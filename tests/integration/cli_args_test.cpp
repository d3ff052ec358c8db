// The one argument parser of every kvr610-cli command.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../../cli/args.h"

using kvr::cli::Args;

namespace {

using Strings = std::vector<std::string>;

// One option with a value ("--out") and one flag ("--yes") taken, in that order, as a command does.
struct Row {
    const char* what;
    Strings arguments;
    std::optional<std::string> out;
    bool yes;
    std::string withoutValue; // empty: none missing
    std::optional<std::string> unknown;
    Strings positional;
};

} // namespace

TEST(CliArgs, OptionsFlagsAndPositionalArguments)
{
    const Row rows[] = {
        {"value after the name", {"a", "--out", "x", "b"}, "x", false, "", std::nullopt, {"a", "b"}},
        {"value joined with =", {"--out=x", "a"}, "x", false, "", std::nullopt, {"a"}},
        {"empty joined value", {"--out=", "a"}, "", false, "", std::nullopt, {"a"}},
        {"option last without value", {"a", "--out"}, std::nullopt, false, "--out", std::nullopt, {"a"}},
        {"absent option", {"a"}, std::nullopt, false, "", std::nullopt, {"a"}},
        {"the next word is the value", {"--out", "--yes"}, "--yes", false, "", std::nullopt, {}},
        {"flag anywhere", {"--yes", "a", "--out", "x"}, "x", true, "", std::nullopt, {"a"}},
        {"longer name is another option", {"--outx", "a"}, std::nullopt, false, "", "--outx", {"--outx", "a"}},
        {"a repeat is left over", {"--out", "x", "--out", "y"}, "x", false, "", "--out", {"--out", "y"}},
        {"dashes alone are positional", {"-", "--", "-x"}, std::nullopt, false, "", std::nullopt, {"-", "--", "-x"}},
    };
    for (const Row& row : rows) {
        Args args(row.arguments);
        EXPECT_EQ(args.takeOption("--out"), row.out) << row.what;
        EXPECT_EQ(args.takeFlag("--yes"), row.yes) << row.what;
        EXPECT_EQ(args.missingValue(), !row.withoutValue.empty()) << row.what;
        EXPECT_EQ(args.optionWithoutValue(), row.withoutValue) << row.what;
        EXPECT_EQ(args.unknownOption(), row.unknown) << row.what;
        EXPECT_EQ(args.positional(), row.positional) << row.what;
    }
}
