// Any bytes as a command line, one argument per line: the parser never crashes or reads
// past an argument, its texts are always terminated, an error always says something on
// one line, and the same arguments always give the same result.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "patterns/PatternGrammar.h"
#include "Require.h"

namespace {

// A text file's last newline ends its last line rather than starting an empty argument.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    if (text.ends_with('\n')) text.remove_suffix(1);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    if (text.empty()) lines.clear();
    return lines;
}

bool Terminated(std::span<const char> buffer) { return std::memchr(buffer.data(), '\0', buffer.size()) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string_view> args =
        SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const Command c = ParseCommandLine(args);
    Require(Terminated(c.configPath) && Terminated(c.pattern) && Terminated(c.error), "every text is terminated");
    if (c.ok) {
        Require(c.monitor >= 0 && c.monitor <= kMaxMonitorNumber, "a monitor number is in range");
        Require(c.mode != CommandMode::Pattern || MatchPatternSpec(c.pattern).pattern != Pattern::None,
                "a pattern shown is one the grammar knows");
    } else {
        Require(c.error[0] != '\0', "an error says something");
        Require(std::strchr(c.error, '\n') == nullptr && std::strchr(c.error, '\r') == nullptr,
                "an error is one line");
        Require(c.mode == CommandMode::Wizard && c.monitor == 0 && c.configPath[0] == '\0' && c.pattern[0] == '\0',
                "an error leaves nothing half-read");
    }
    const Command d = ParseCommandLine(args);
    Require(d.ok == c.ok && d.mode == c.mode && d.monitor == c.monitor &&
                std::strcmp(d.configPath, c.configPath) == 0 && std::strcmp(d.pattern, c.pattern) == 0 &&
                std::strcmp(d.error, c.error) == 0,
            "the same arguments give the same result");
    return 0;
}
