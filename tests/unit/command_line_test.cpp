#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <ranges>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string_view>;

TEST(CommandLine, ReadsEveryOptionInEitherFormAndKeepsValuesVerbatim)
{
    const std::string longest(kConfigPathSize - 1, 'p');
    const struct Row { Args args; CommandMode mode; std::string_view config, pattern; int monitor; } rows[] = {
        {{}, CommandMode::Wizard, "", "", 0},
        {{"--config", "C:\\My \"Files\"\\data.ini", "--Monitor=\\\\.\\display2"},
         CommandMode::Wizard, "C:\\My \"Files\"\\data.ini", "", 2},
        {{"--CONFIG=D:\\Données\\日本 語\\data.ini"}, CommandMode::Wizard, "D:\\Données\\日本 語\\data.ini", "", 0},
        {{"--LIST", "--config=a=b.ini", "--monitor", "2"}, CommandMode::List, "a=b.ini", "", 2},
        {{"--config", longest}, CommandMode::Wizard, longest, "", 0},
        {{"--pattern", "Motion120", "--monitor", "\\\\.\\DISPLAY99"}, CommandMode::Pattern, "", "Motion120", 99},
        {{"/?"}, CommandMode::Help, "", "", 0},
        {{"--pattern", "VLines", "--list", "-h"}, CommandMode::Help, "", "VLines", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.empty() ? "" : row.args[0]);
        const Command command = ParseCommandLine(row.args);
        ASSERT_TRUE(command.ok) << command.error;
        EXPECT_EQ(command.mode, row.mode);
        EXPECT_EQ(command.configPath, row.config);
        EXPECT_EQ(command.monitor, row.monitor);
        EXPECT_EQ(command.pattern, row.pattern);
    }
}

TEST(CommandLine, RefusesWithOneLineThatNamesTheArgument)
{
    const std::string tooLong(kConfigPathSize, 'p');
    const std::string stray = "a\nb" + std::string(100, 'z');
    const struct Row { Args args; std::string error; } rows[] = {
        {{"--bogus"}, "Unknown option \"--bogus\". Try lumetta --help."},
        {{"--help", "-x"}, "Unknown option \"-x\". Try lumetta --help."},
        {{"data.ini"}, "Unexpected argument \"data.ini\". Try lumetta --help."},
        {{stray}, "Unexpected argument \"a?b" + std::string(57, 'z') + "...\". Try lumetta --help."},
        {{"--config"}, "--config needs a value. Try lumetta --help."},
        {{"--config="}, "--config needs a value. Try lumetta --help."},
        {{"--config", ""}, "--config needs a value. Try lumetta --help."},
        {{"--config", "--list"}, "--config needs a value. Try lumetta --help."},
        {{"--config", std::string_view("a\0b", 3)}, "Bad value \"a?b\" for --config. Try lumetta --help."},
        {{"--config", tooLong}, "The value of --config is longer than 32767 bytes. Try lumetta --help."},
        {{"--config", "a", "--CONFIG", "b"}, "--config is given twice. Try lumetta --help."},
        {{"--list=yes"}, "--list takes no value. Try lumetta --help."},
        {{"--monitor", "0"}, "Bad value \"0\" for --monitor. Try lumetta --help."},
        {{"--monitor", "2x"}, "Bad value \"2x\" for --monitor. Try lumetta --help."},
        {{"--monitor=100"}, "Bad value \"100\" for --monitor. Try lumetta --help."},
        {{"--pattern", "Nonsense"}, "Bad value \"Nonsense\" for --pattern. Try lumetta --help."},
        {{"--pattern", "VLines", "--list"}, "--pattern and --list cannot be used together. Try lumetta --help."},
    };
    for (const Row& row : rows) {
        const Command command = ParseCommandLine(row.args);
        EXPECT_FALSE(command.ok) << row.error;
        EXPECT_EQ(command.error, row.error);
        EXPECT_EQ(command.mode, CommandMode::Wizard);
        EXPECT_EQ(command.configPath, std::string_view());
    }
}

TEST(CommandLine, EveryUsageExampleParses)
{
    constexpr std::string_view kExample = "  lumetta.exe ";
    int examples = 0;
    std::istringstream lines{std::string(UsageText())};
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with(kExample)) continue;
        Args args;
        for (const auto word : std::views::split(std::string_view(line).substr(kExample.size()), ' '))
            args.emplace_back(word.begin(), word.end());
        EXPECT_TRUE(ParseCommandLine(args).ok) << line;
        ++examples;
    }
    EXPECT_GE(examples, 4);
}

}  // namespace
