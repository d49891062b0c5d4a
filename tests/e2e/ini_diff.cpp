// Reads every query of an INI corpus with the real GetPrivateProfileStringA and with
// FileIniReader and compares the texts, so that the portable reader is held to the
// platform's own. Usage: lumetta_ini_diff <corpus directory>

#include "config/IniFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char kQueriesFile[] = "queries.txt";
constexpr char kFieldSeparator = '|';
constexpr std::size_t kShownCharacters = 48;

struct Query {
    std::string file;
    std::string section;
    std::string key;
    std::size_t size = 0;
};

// Where Wine's reader departs from Windows'. FileIniReader must give the Windows text
// (cut to the buffer), and Wine must still differ: a listed case that agrees is a failure,
// because either the reader has drifted towards Wine or the entry is stale.
constexpr std::size_t kAnySize = 0;

struct KnownDifference {
    std::string_view file;
    std::string_view section;
    std::string_view key;
    std::size_t size;  // kAnySize: at every buffer size asked for
    std::string_view windowsText;
    std::string_view reason;
};
const std::string kWrappedValue(65541 % kIniValueLengthWrap, 'z');

const KnownDifference kKnownDifferences[] = {
    {"case_and_blanks.ini", "\tpadded", "k", kAnySize, "",
     "Wine trims every blank off the arguments; Windows only spaces, so a tab fails to match"},
    {"case_and_blanks.ini", "padded", "k\t", kAnySize, "", "Wine trims every blank off the arguments"},
    {"comments.ini", "sec", ";k", kAnySize, "", "Wine keeps ';k=v' as key ';k'; Windows skips it as a comment"},
    {"comments.ini", "sec", ";indented", kAnySize, "", "Wine keeps an indented ';' line as a key"},
    {"header_two_brackets.ini", "sec", "k", kAnySize, "v",
     "Wine ends a section name at the last ']', Windows at the first"},
    {"misc.ini", "[nested", "my key", kAnySize, "a\tb", "Wine ends a section name at the last ']', Windows at the first"},
    {"misc.ini", "[nested]", "my key", kAnySize, "", "Wine ends a section name at the last ']', Windows at the first"},
    {"header_no_bracket.ini", "sec", "k", kAnySize, "v", "Wine opens no section on a line without ']'"},
    {"keys_before_section.ini", "", "k", kAnySize, "",
     "Wine files keys above the first header under section \"\"; Windows drops them"},
    {"huge_value.ini", "sec", "k", kAnySize, kWrappedValue,
     "Windows counts a value's length in 16 bits; Wine does not"},
    {"odd_blanks.ini", "sec", "ff", kAnySize, "\fv\f", "Wine also trims form feed; Windows only space, tab and VT"},
    {"odd_blanks.ini", "sec", "sub", kAnySize, "\x1Av\x1A", "Wine also trims ^Z; Windows only space, tab and VT"},
    {"odd_blanks.ini", "sec", "fk", kAnySize, "", "Wine skips a leading form feed, so the key is 'fk'"},
    // No Windows source; Windows is taken to cut the unquoted value like any other.
    {"sample.ini", "section1", "name2", 5, "val2",
     "Wine strips a closing quote that the buffer has already cut off, losing a character"},
    {"quotes.ini", "sec", "long", 7, "abcdef",
     "Wine strips a closing quote that the buffer has already cut off, losing a character"},
};

std::string Unescape(std::string_view field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
        } else if (field[i + 1] == 't') {
            text += '\t';
            ++i;
        } else if (field[i + 1] == 'x' && i + 3 < field.size()) {
            text += static_cast<char>(std::strtol(std::string(field.substr(i + 2, 2)).c_str(), nullptr, 16));
            i += 3;
        } else {
            text += field[++i];
        }
    }
    return text;
}

std::optional<Query> ParseQuery(std::string_view line)
{
    std::vector<std::string> fields;
    for (std::size_t from = 0;;) {
        const std::size_t bar = line.find(kFieldSeparator, from);
        fields.push_back(Unescape(line.substr(from, bar - from)));
        if (bar == std::string_view::npos) break;
        from = bar + 1;
    }
    if (fields.size() != 4) return std::nullopt;
    const int size = std::atoi(fields[3].c_str());
    if (size <= 0) return std::nullopt;
    return Query{fields[0], fields[1], fields[2], static_cast<std::size_t>(size)};
}

std::string Show(std::string_view text)
{
    std::string shown = "\"";
    for (const char c : text.substr(0, kShownCharacters)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    shown += '"';
    if (text.size() > kShownCharacters) shown += "... (" + std::to_string(text.size()) + " characters)";
    return shown;
}

std::string Describe(const Query& query)
{
    return query.file + " [" + Show(query.section) + "] " + Show(query.key) + " /" +
           std::to_string(query.size);
}

const KnownDifference* FindKnown(const Query& query)
{
    const auto it = std::ranges::find_if(kKnownDifferences, [&](const KnownDifference& known) {
        return known.file == query.file && known.section == query.section && known.key == query.key &&
               (known.size == kAnySize || known.size == query.size);
    });
    return it == std::end(kKnownDifferences) ? nullptr : it;
}

// The text up to the first zero; a buffer left unterminated shows in full.
std::string TextOf(const std::vector<char>& buffer)
{
    return std::string(buffer.begin(), std::ranges::find(buffer, '\0'));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumetta_ini_diff <corpus directory>\n");
        return 2;
    }
    const std::string directory = argv[1];
    std::ifstream queries(directory + "\\" + kQueriesFile, std::ios::binary);
    if (!queries) {
        std::fprintf(stderr, "cannot open %s\\%s\n", directory.c_str(), kQueriesFile);
        return 2;
    }

    FileIniReader reader;
    int passed = 0;
    int failed = 0;
    int known = 0;
    std::string line;
    while (std::getline(queries, line)) {
        if (line.ends_with('\r')) line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        const std::optional<Query> query = ParseQuery(line);
        if (!query) {
            std::printf("FAIL  malformed query: %s\n", line.c_str());
            ++failed;
            continue;
        }
        const std::string path = directory + "\\" + query->file;

        // Fill with a non-zero byte so that a missing terminator shows.
        std::vector<char> platform(query->size, '#');
        std::vector<char> portable(query->size, '#');
        GetPrivateProfileStringA(query->section.c_str(), query->key.c_str(), nullptr, platform.data(),
                                 static_cast<DWORD>(platform.size()), path.c_str());
        reader.Read(query->section.c_str(), query->key.c_str(), portable, path.c_str());
        const std::string wine = TextOf(platform);
        const std::string ours = TextOf(portable);
        const std::string what = Describe(*query);

        if (const KnownDifference* difference = FindKnown(*query)) {
            const std::string windows(difference->windowsText.substr(0, query->size - 1));
            if (ours == windows && wine != ours) {
                std::printf("KNOWN %s: reader %s, Wine %s; %.*s\n", what.c_str(), Show(ours).c_str(),
                            Show(wine).c_str(), static_cast<int>(difference->reason.size()),
                            difference->reason.data());
                ++passed;
                ++known;
            } else {
                std::printf("FAIL  %s: reader %s, Wine %s, Windows %s (listed as a known difference)\n",
                            what.c_str(), Show(ours).c_str(), Show(wine).c_str(), Show(windows).c_str());
                ++failed;
            }
        } else if (ours == wine && ours.size() < query->size) {
            std::printf("PASS  %s: %s\n", what.c_str(), Show(ours).c_str());
            ++passed;
        } else {
            std::printf("FAIL  %s: reader %s, Wine %s\n", what.c_str(), Show(ours).c_str(),
                        Show(wine).c_str());
            ++failed;
        }
    }
    if (passed + failed == 0) {
        std::fprintf(stderr, "no queries in %s\\%s\n", directory.c_str(), kQueriesFile);
        return 2;
    }
    std::printf("%d known differences\n", known);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
