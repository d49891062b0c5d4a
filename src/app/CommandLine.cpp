#include "app/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <iterator>
#include <optional>

#include "base/Text.h"
#include "monitor/Monitors.h"
#include "patterns/PatternGrammar.h"

namespace {

// What an option's value fills in; None for an option that takes no value.
enum class ValueKind { None, ConfigPath, MonitorNumber, PatternKeyword };

struct Option {
    std::string_view name;  // lower case, as messages show it; matched regardless of case
    ValueKind value;
    CommandMode mode;  // Wizard for an option that only adjusts whichever mode is asked for
};

constexpr Option kOptions[] = {
    {"--config", ValueKind::ConfigPath, CommandMode::Wizard},
    {"--monitor", ValueKind::MonitorNumber, CommandMode::Wizard},
    {"--pattern", ValueKind::PatternKeyword, CommandMode::Pattern},
    {"--list", ValueKind::None, CommandMode::List},
    {"--restore", ValueKind::None, CommandMode::Restore},
    {"--help", ValueKind::None, CommandMode::Help},
};

// Other spellings, taken whole: they have no "=value" form.
struct Alias {
    std::string_view spelling;
    std::string_view name;
};
constexpr Alias kAliases[] = {{"-h", "--help"}, {"/?", "--help"}};

constexpr std::string_view kOptionPrefix = "--";
constexpr std::string_view kTryHelp = " Try lumetta --help.";
// How much of an argument a message quotes, so that the advice after it always fits.
constexpr std::size_t kQuoteSize = 64;
constexpr std::string_view kCutMark = "...";
// Room for the largest buffer size in decimal.
constexpr std::size_t kNumberSize = 24;

std::string_view Canonical(std::string_view name)
{
    for (const Alias& alias : kAliases)
        if (EqualIgnoringAsciiCase(name, alias.spelling)) return alias.name;
    return name;
}

const Option* FindOption(std::string_view name)
{
    name = Canonical(name);
    for (const Option& option : kOptions)
        if (EqualIgnoringAsciiCase(name, option.name)) return &option;
    return nullptr;
}

// Such an argument after "--config" means a forgotten value rather than a file's name;
// "--config=--x" still names that file.
bool LooksLikeOption(std::string_view argument)
{
    return argument.starts_with(kOptionPrefix) || Canonical(argument) != argument;
}

// The argument as a message quotes it: on one line, cut short on a character boundary.
struct Quote {
    char text[kQuoteSize];
};
Quote QuoteOf(std::string_view argument)
{
    Quote quote{};
    const std::size_t copied =
        CopyText(std::span(quote.text).first(kQuoteSize - kCutMark.size()), argument, TextEncoding::Utf8);
    for (char& c : std::span(quote.text, copied))
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = '?';
    if (copied < argument.size()) CopyText(std::span(quote.text).subspan(copied), kCutMark);
    return quote;
}

// Every part is short, so the advice at the end always fits.
bool Fail(Command& command, std::initializer_list<std::string_view> parts)
{
    const std::span<char> out(command.error);
    std::size_t at = 0;
    for (const std::string_view part : parts) at += CopyText(out.subspan(at), part);
    CopyText(out.subspan(at), kTryHelp);
    command.ok = false;
    return false;
}

bool BadValue(Command& command, const Option& option, std::string_view value)
{
    return Fail(command, {"Bad value \"", QuoteOf(value).text, "\" for ", option.name, "."});
}

bool Store(Command& command, const Option& option, std::string_view value, std::span<char> dest)
{
    if (value.size() < dest.size()) {
        CopyText(dest, value);
        return true;
    }
    char limit[kNumberSize] = {};
    std::to_chars(std::begin(limit), std::end(limit) - 1, dest.size() - 1);
    return Fail(command, {"The value of ", option.name, " is longer than ", limit, " bytes."});
}

// From "n" or "\\.\DISPLAYn"; 0 for anything else.
int MonitorNumber(std::string_view value)
{
    if (EqualIgnoringAsciiCase(value.substr(0, kDisplayNamePrefix.size()), kDisplayNamePrefix))
        value.remove_prefix(kDisplayNamePrefix.size());
    const char* end = value.data() + value.size();
    int number = 0;
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    const bool whole = error == std::errc{} && stop == end;
    return whole && number >= 1 && number <= kMaxMonitorNumber ? number : 0;
}

bool TakeValue(Command& command, const Option& option, std::string_view value)
{
    // A stored value ends at its first NUL: it would name a different file or pattern.
    if (value.find('\0') != std::string_view::npos) return BadValue(command, option, value);
    switch (option.value) {
    case ValueKind::None: break;
    case ValueKind::ConfigPath: return Store(command, option, value, command.configPath);
    case ValueKind::MonitorNumber:
        command.monitor = MonitorNumber(value);
        return command.monitor != 0 || BadValue(command, option, value);
    case ValueKind::PatternKeyword:
        if (MatchPatternSpec(value).pattern == Pattern::None) return BadValue(command, option, value);
        return Store(command, option, value, command.pattern);
    }
    return true;
}

bool Parse(std::span<const std::string_view> args, Command& command)
{
    bool given[std::size(kOptions)] = {};
    const Option* modeOption = nullptr;  // the first that asks for a mode other than help
    const Option* clash = nullptr;       // a second one
    bool helpAsked = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view argument = args[i];
        std::string_view name = argument;
        std::optional<std::string_view> attached;
        if (const std::size_t equals = argument.find('=');
            argument.starts_with(kOptionPrefix) && equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            attached = argument.substr(equals + 1);
        }
        const Option* option = FindOption(name);
        if (option == nullptr) {
            const bool optionLike = argument.starts_with('-') || argument.starts_with('/');
            return Fail(command,
                        {optionLike ? "Unknown option \"" : "Unexpected argument \"", QuoteOf(argument).text, "\"."});
        }
        bool& seen = given[option - std::begin(kOptions)];
        if (seen) return Fail(command, {option->name, " is given twice."});
        seen = true;

        if (option->value == ValueKind::None) {
            if (attached) return Fail(command, {option->name, " takes no value."});
        } else {
            std::string_view value;
            if (attached)
                value = *attached;
            else if (i + 1 < args.size() && !LooksLikeOption(args[i + 1]))
                value = args[++i];
            if (value.empty()) return Fail(command, {option->name, " needs a value."});
            if (!TakeValue(command, *option, value)) return false;
        }

        if (option->mode == CommandMode::Help)
            helpAsked = true;
        else if (option->mode == CommandMode::Wizard)
            continue;
        else if (modeOption == nullptr)
            modeOption = option;
        else if (clash == nullptr)
            clash = option;
    }
    if (helpAsked)
        command.mode = CommandMode::Help;
    else if (clash != nullptr)
        return Fail(command, {modeOption->name, " and ", clash->name, " cannot be used together."});
    else if (modeOption != nullptr)
        command.mode = modeOption->mode;
    return true;
}

}  // namespace

Command ParseCommandLine(std::span<const std::string_view> args)
{
    Command command;
    if (!Parse(args, command)) {
        command.mode = CommandMode::Wizard;
        command.monitor = 0;
        command.configPath[0] = '\0';
        command.pattern[0] = '\0';
    }
    return command;
}

std::string_view UsageText()
{
    return R"(Usage: lumetta.exe [--config FILE] [--monitor N] [--pattern KEYWORD | --list | --restore | --help]
  --config FILE      read FILE instead of data.ini in the working directory
  --monitor N        work on monitor N, the n of \\.\DISPLAYn (either form)
  --pattern KEYWORD  show one pattern full screen, as a step's pattern keyword names it
  --list             list the monitors and their numbers
  --restore          give the monitors their saved settings back, with no window
  --help, -h, /?     show this text
Examples:
  lumetta.exe --config translations\fr\data.ini
  lumetta.exe --monitor 2
  lumetta.exe --pattern VLines
  lumetta.exe --monitor 2 --pattern Motion120
  lumetta.exe --list
  lumetta.exe --restore
)";
}
