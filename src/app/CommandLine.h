// What the command line asks for. The platform gathers the arguments and converts them to
// UTF-8; reading them is pure, so that every spelling can be tested natively.
#pragma once

#include <span>
#include <string_view>

#include "base/Limits.h"

// The largest n of \\.\DISPLAYn that --monitor takes; the platform numbers displays from 1.
inline constexpr int kMaxMonitorNumber = 99;
// The exit code of a command line that cannot be carried out; nothing else has started.
inline constexpr int kBadCommandExitCode = 2;

enum class CommandMode {
    Wizard,   // no mode option: the guided adjustment
    Pattern,  // one pattern, full screen
    List,     // the monitors and their numbers
    Help,     // the usage
    Restore,  // the monitors' saved settings back, with no window
};

struct Command {
    bool ok = true;
    CommandMode mode = CommandMode::Wizard;
    int monitor = 0;                        // 1 to kMaxMonitorNumber; 0 when not given
    char configPath[kConfigPathSize] = {};  // empty when not given: data.ini in the working directory
    char pattern[kValueSize] = {};          // the keyword as given, for CommandMode::Pattern
    char error[kValueSize] = {};            // one line that names the argument, when !ok
};

// The arguments after the program's name. After an error the rest of the result is as for
// no arguments, so that nothing half-read is acted on. --help wins over other modes, but
// not over an argument that does not parse.
Command ParseCommandLine(std::span<const std::string_view> args);

// A few lines, each ending in '\n', with one example per option.
std::string_view UsageText();
