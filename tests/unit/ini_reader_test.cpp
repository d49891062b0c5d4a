#include "config/IniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace std::string_literals;
using namespace std::string_view_literals;

namespace {

constexpr std::string_view kC1 =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";

std::optional<std::string> Look(std::string_view text, std::string_view section,
                                std::string_view key)
{
    const auto value = LookUpIniValue(text, section, key);
    if (!value) return std::nullopt;
    return std::string(*value);
}

std::string Replace(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(IniLookUp, FindsKeysOfTheNamedSectionOnly)
{
    EXPECT_EQ(Look(kC1, "section1", "name1"), "val1");
    EXPECT_EQ(Look(kC1, "section1", "name4"), "a");
    EXPECT_EQ(Look(kC1, "section2", "name1"), std::nullopt);
    EXPECT_EQ(Look(kC1, "section3", "name1"), std::nullopt);
    EXPECT_EQ(Look(kC1, "section1", "name5"), std::nullopt);
}

TEST(IniLookUp, NamesIgnoreAsciiCaseOnly)
{
    EXPECT_EQ(Look(kC1, "SECTION1", "NaMe1"), "val1");
    // The ends of the alphabet, where an off-by-one in the folding would show.
    EXPECT_EQ(Look("[aZ]\r\nzA=v\r\n", "Az", "Za"), "v");
    EXPECT_EQ(Look("[Az]\r\nZa=v\r\n", "aZ", "zA"), "v");
    // '@' and '[' stand just outside 'A' to 'Z', '`' and '{' just outside 'a' to 'z'.
    EXPECT_EQ(Look("[s@]\r\nk=v\r\n", "s`", "k"), std::nullopt);
    EXPECT_EQ(Look("[s]\r\nk{=v\r\n", "s", "k["), std::nullopt);
    // 0xC9 and 0xE9 are one letter in Latin-1, but only ASCII folds.
    EXPECT_EQ(Look("[s\xC9]\r\nk=v\r\n", "s\xE9", "k"), std::nullopt);
}

TEST(IniLookUp, EveryKindOfLineEndEndsALine)
{
    EXPECT_EQ(Look(Replace(std::string(kC1), "\r\n", "\r"), "section1", "name2"), "val2");
    EXPECT_EQ(Look(Replace(std::string(kC1), "\r\n", "\n"), "section1", "name2"), "val2");
    EXPECT_EQ(Look("[s]\rk=v\nj=w\r\ni=x", "s", "j"), "w");
    EXPECT_EQ(Look("[s]\rk=v\nj=w\r\ni=x", "s", "i"), "x");  // the last line needs no line end
    EXPECT_EQ(Look("\r\n\r\r\n\n[s]\r\r\n\n \t\v\r\nk=v\r\n", "s", "k"), "v");
}

TEST(IniLookUp, GarbageBeforeASectionDoesNotDisturbIt)
{
    std::mt19937 random(20240601);
    std::string text(1 << 20, '\0');
    std::ranges::generate(text, [&] { return static_cast<char>(random()); });
    text += "\n[target]\nk=found\n";
    EXPECT_EQ(Look(text, "target", "k"), "found");
}

TEST(IniSectionHeaders, NameIsTrimmedAndEndsAtTheFirstBracket)
{
    EXPECT_EQ(Look("[ section1 ]\r\nk=v\r\n", "section1", "k"), "v");
    EXPECT_EQ(Look("\t[\tsec ]\r\nk=v\r\n", "sec", "k"), "v");
    EXPECT_EQ(Look("[\vsec\v]\r\nk=v\r\n", "sec", "k"), "v");
    EXPECT_EQ(Look("[sec]x]\r\nk=v\r\n", "sec", "k"), "v");
    EXPECT_EQ(Look("[sec]x]\r\nk=v\r\n", "sec]x", "k"), std::nullopt);
}

TEST(IniSectionHeaders, MissingBracketRunsToTheEndOfTheLine)
{
    EXPECT_EQ(Look("[sec   \r\nk=v\r\n", "sec", "k"), "v");
    EXPECT_EQ(Look("[", "s", "k"), std::nullopt);
}

TEST(IniSectionHeaders, TextAfterTheBracketDefinesNoKey)
{
    EXPECT_EQ(Look("[sec]k=v\r\n", "sec", "k"), std::nullopt);
    EXPECT_EQ(Look("[sec]k=v\r\n", "sec]k=v", "k"), std::nullopt);
}

TEST(IniSectionHeaders, OnlyTheFirstSectionOfANameIsSearched)
{
    EXPECT_EQ(Look("[sec]\r\n[sec]\r\nk=v\r\n", "sec", "k"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\na=1\r\n[other]\r\n[SEC]\r\nb=2\r\n", "sec", "b"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\na=1\r\n[other]\r\n[SEC]\r\nb=2\r\n", "sec", "a"), "1");
}

TEST(IniSectionHeaders, EmptySectionNamesFindNothing)
{
    // Keys above the first header belong to no section, not to one named "".
    constexpr std::string_view text = "k=v\r\n[sec]\r\nk2=v2\r\n";
    EXPECT_EQ(Look(text, "", "k"), std::nullopt);
    EXPECT_EQ(Look(text, "sec", "k"), std::nullopt);
    EXPECT_EQ(Look(text, "sec", "k2"), "v2");
    // The model loader asks for an empty section name and must get nothing, "[]" or not.
    EXPECT_EQ(Look("[]\r\nk=v\r\n", "", "k"), std::nullopt);
    EXPECT_EQ(Look("[ ]\r\nk=v\r\n", "   ", "k"), std::nullopt);
}

TEST(IniKeys, KeyAndValueAreTrimmedOfSpaceTabAndVerticalTab)
{
    EXPECT_EQ(Look("[sec]\r\n \t k \t= \t v \t\r\n", "sec", "k"), "v");
    EXPECT_EQ(Look("[sec]\r\n\vk\v=\vv\v\r\n", "sec", "k"), "v");
    // Form feed is not blank to Windows.
    EXPECT_EQ(Look("[sec]\r\nk\f=v\r\n", "sec", "k"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\nk=v\f\r\n", "sec", "k"), "v\f");
}

TEST(IniKeys, LineSplitsAtTheFirstEqualsSign)
{
    EXPECT_EQ(Look("[sec]\r\nk=a=b\r\n", "sec", "k"), "a=b");
    EXPECT_EQ(Look("[sec]\r\nk=a=b\r\n", "sec", "k=a"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\nname3\r\n", "sec", "name3"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\n=v\r\n", "sec", " "), "v");
}

TEST(IniKeys, EmptyValueIsFoundAndEmpty)
{
    EXPECT_EQ(Look("[sec]\r\nk=\r\n", "sec", "k"), "");
    EXPECT_EQ(Look("[sec]\r\nk= \t \r\n", "sec", "k"), "");
}

TEST(IniKeys, FirstMatchingKeyWins)
{
    EXPECT_EQ(Look("[sec]\r\nk=v1\r\nk=v2\r\n", "sec", "k"), "v1");
    EXPECT_EQ(Look("[sec]\r\nK=v1\r\nk=v2\r\n", "sec", "k"), "v1");
}

TEST(IniKeys, OnlyALeadingSemicolonMakesAComment)
{
    EXPECT_EQ(Look("[sec]\r\n;k=v\r\n", "sec", ";k"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\n \t;k=v\r\n", "sec", ";k"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\n#k=v\r\n", "sec", "#k"), "v");
    EXPECT_EQ(Look("[sec]\r\nk=diet   ;gag\r\n", "sec", "k"), "diet   ;gag");
    EXPECT_EQ(Look("[sec]\r\nk;=v\r\n", "sec", "k;"), "v");
}

TEST(IniArguments, LoseSpacesButNotTabs)
{
    constexpr std::string_view text = "[sec]\r\nk=v\r\n";
    EXPECT_EQ(Look(text, "  sec  ", "  k  "), "v");
    EXPECT_EQ(Look(text, "\tsec", "k"), std::nullopt);
    EXPECT_EQ(Look(text, "sec", "k\t"), std::nullopt);
    EXPECT_EQ(Look(text, "sec", "   "), std::nullopt);
}

TEST(IniValues, OneOuterPairOfMatchingQuotesIsRemoved)
{
    EXPECT_EQ(Look(kC1, "section1", "name2"), "val2");
    EXPECT_EQ(Look("[sec]\r\nk=  \"   v   \"  \r\n", "sec", "k"), "   v   ");
    EXPECT_EQ(Look("[sec]\r\nk='v'\r\n", "sec", "k"), "v");
    EXPECT_EQ(Look("[sec]\r\nk=\"\"\r\n", "sec", "k"), "");
    EXPECT_EQ(Look("[sec]\r\nk=\"\"v\"\"\r\n", "sec", "k"), "\"v\"");
    EXPECT_EQ(Look("[sec]\r\nk=\"a\"b\"\r\n", "sec", "k"), "a\"b");
}

TEST(IniValues, UnmatchedQuotesStay)
{
    EXPECT_EQ(Look("[sec]\r\nk=\"v'\r\n", "sec", "k"), "\"v'");
    EXPECT_EQ(Look("[sec]\r\nk=\"\r\n", "sec", "k"), "\"");
    EXPECT_EQ(Look("[sec]\r\nk=\"v\r\n", "sec", "k"), "\"v");
    EXPECT_EQ(Look("[sec]\r\nk=v\"\r\n", "sec", "k"), "v\"");
}

TEST(IniValues, NamesAreNeverUnquoted)
{
    EXPECT_EQ(Look("[sec]\r\n\"k\"=v\r\n", "sec", "k"), std::nullopt);
    EXPECT_EQ(Look("[sec]\r\n\"k\"=v\r\n", "sec", "\"k\""), "v");
    EXPECT_EQ(Look("[\"sec\"]\r\nk=v\r\n", "sec", "k"), std::nullopt);
}

TEST(IniValues, NulEndsANameOrValueButNotItsLine)
{
    EXPECT_EQ(Look("[s]\r\nk=a\0b\r\nj=c\r\n"sv, "s", "k"), "a");
    EXPECT_EQ(Look("[s]\r\nk=a\0b\r\nj=c\r\n"sv, "s", "j"), "c");
    EXPECT_EQ(Look("[s\0x]\r\nk=v\r\n"sv, "s", "k"), "v");
    EXPECT_EQ(Look("[s]\r\nk\0x=v\r\n"sv, "s", "k"), "v");
    EXPECT_EQ(Look("[s]\r\nk=\0v\r\n"sv, "s", "k"), "");
    // The value is cut before its quotes are looked at.
    EXPECT_EQ(Look("[s]\r\nk=\"a\0b\"\r\n"sv, "s", "k"), "\"a");
}

TEST(IniValues, LengthOf64KOrMoreWrapsAround)
{
    const auto valueOfLength = [](std::size_t length) {
        return Look("[s]\r\nk=" + std::string(length, 'a') + "\r\n", "s", "k").value_or("<none>").size();
    };
    EXPECT_EQ(valueOfLength(kIniValueLengthWrap - 1), kIniValueLengthWrap - 1);
    EXPECT_EQ(valueOfLength(kIniValueLengthWrap), 0u);
    EXPECT_EQ(valueOfLength(kIniValueLengthWrap + 5), 5u);
}

TEST(IniEncoding, Utf8ByteOrderMarkHidesASectionOnTheFirstLine)
{
    constexpr std::string_view text = "\xEF\xBB\xBF[sec]\r\nk=v\r\n[sec2]\r\nk2=v2\r\n";
    EXPECT_EQ(Look(text, "sec", "k"), std::nullopt);
    EXPECT_EQ(Look(text, "sec2", "k2"), "v2");
}

TEST(IniEncoding, BytesBeyondAsciiPassThrough)
{
    EXPECT_EQ(Look("[s]\r\nk=\xE9\x80\xFF\r\n", "s", "k"), "\xE9\x80\xFF");
}

// e-acute, the euro sign and U+1F600, in UTF-8.
constexpr std::string_view kWide = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";

TEST(IniEncoding, MarkOrValidUtf8DecidesTheEncoding)
{
    const auto is = [](std::string bytes, std::string_view text, TextEncoding encoding) {
        const IniText file = DecodeIniBytes(std::move(bytes));
        EXPECT_EQ(file.text, text);
        EXPECT_EQ(file.encoding, encoding);
    };
    is("k=v", "k=v", TextEncoding::Ansi);
    is("k=" + std::string(kWide), "k=" + std::string(kWide), TextEncoding::Utf8);
    // One broken, overlong, surrogate or too-large sequence leaves the whole file ANSI.
    for (const std::string bad : {"\xC3(", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
        is("k=" + std::string(kWide) + bad, "k=" + std::string(kWide) + bad, TextEncoding::Ansi);
    is("\xEF\xBB\xBFk=\xC3\xA9\xFF", "k=\xC3\xA9\xEF\xBF\xBD", TextEncoding::Utf8);
    // "k=", e-acute, U+1F600 as a surrogate pair, little- and big-endian.
    is("\xFF\xFEk\0=\0\xE9\0\x3D\xD8\x00\xDE"s, "k=\xC3\xA9\xF0\x9F\x98\x80", TextEncoding::Utf8);
    is("\xFE\xFF\0k\0=\0\xE9\xD8\x3D\xDE\x00"s, "k=\xC3\xA9\xF0\x9F\x98\x80", TextEncoding::Utf8);
    // A lone surrogate or a last odd byte is U+FFFD, and the rest is kept.
    is("\xFF\xFE\x00\xDEk\0\x3D\xD8"s, "\xEF\xBF\xBDk\xEF\xBF\xBD", TextEncoding::Utf8);
    is("\xFF\xFEk\0="s, "k\xEF\xBF\xBD", TextEncoding::Utf8);
}

namespace fs = std::filesystem;

class FileIniReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Unique: other builds of these tests may run at the same time.
        dir_ = fs::temp_directory_path() / ("lumetta_ini_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string Write(std::string_view bytes)
    {
        const fs::path path = dir_ / "data.ini";
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
        return path.string();
    }

    // Reads into a buffer of the given size that sits between guard bytes, which the
    // reader must leave alone; the text must be terminated within the buffer.
    std::string Read(const std::string& path, const char* section, const char* key,
                     std::size_t size = 260)
    {
        constexpr std::size_t kGuard = 16;
        std::vector<char> memory(size + 2 * kGuard, 'x');
        const std::span<char> out(memory.data() + kGuard, size);
        reader_.Read(section, key, out, path.c_str());
        EXPECT_TRUE(std::all_of(memory.begin(), memory.begin() + kGuard, [](char c) { return c == 'x'; }));
        EXPECT_TRUE(std::all_of(memory.end() - kGuard, memory.end(), [](char c) { return c == 'x'; }));
        const auto end = std::ranges::find(out, '\0');
        EXPECT_NE(end, out.end()) << "not terminated";
        return std::string(out.begin(), end);
    }

    fs::path dir_;
    FileIniReader reader_;
};

TEST_F(FileIniReaderTest, LongValuesAreCutToTheBuffer)
{
    const std::string path = Write(kC1);
    EXPECT_EQ(Read(path, "section1", "name1"), "val1");
    EXPECT_EQ(Read(path, "section1", "name1", 5), "val1");  // exact fit
    EXPECT_EQ(Read(path, "section1", "name1", 4), "val");   // one short
    EXPECT_EQ(Read(path, "section1", "name2", 4), "val");   // quotes go before the cut
    EXPECT_EQ(Read(path, "section1", "name4", 1), "");
    EXPECT_EQ(Read(path, "section1", "name4", 2), "a");
}

TEST_F(FileIniReaderTest, EmptyBufferIsLeftUntouched)
{
    const std::string path = Write(kC1);
    char out = 'x';
    reader_.Read("section1", "name1", std::span<char>(&out, 0), path.c_str());
    EXPECT_EQ(out, 'x');
}

TEST_F(FileIniReaderTest, NothingFoundLeavesAnEmptyText)
{
    const std::string path = Write(kC1);
    EXPECT_EQ(Read(path, "section1", "name3"), "");
    EXPECT_EQ(Read(path, "section9", "name1"), "");
    EXPECT_EQ(Read(path, "", "name1"), "");
    EXPECT_EQ(Read((dir_ / "absent.ini").string(), "section1", "name1"), "");
    EXPECT_EQ(Read((dir_ / "no_such_dir" / "data.ini").string(), "section1", "name1"), "");
}

TEST_F(FileIniReaderTest, NullArgumentsFindNothing)
{
    const std::string path = Write(kC1);
    std::vector<char> out(16, 'x');
    reader_.Read(nullptr, "name1", out, path.c_str());
    EXPECT_EQ(out[0], '\0');
    out[0] = 'x';
    reader_.Read("section1", nullptr, out, path.c_str());
    EXPECT_EQ(out[0], '\0');
    out[0] = 'x';
    reader_.Read("section1", "name1", out, nullptr);
    EXPECT_EQ(out[0], '\0');
}

TEST_F(FileIniReaderTest, DirectoryInPlaceOfTheFileReadsAsMissing)
{
    fs::create_directory(dir_ / "data.ini");
    EXPECT_EQ(Read((dir_ / "data.ini").string(), "section1", "name1"), "");
}

TEST_F(FileIniReaderTest, EditedFileIsReadAgain)
{
    const std::string path = Write("[s]\r\nk=old\r\n");
    EXPECT_EQ(Read(path, "s", "k"), "old");
    Write("[s]\r\nk=new\r\n");
    EXPECT_EQ(Read(path, "s", "k"), "new");
}

TEST_F(FileIniReaderTest, NulBytesDoNotEndTheFile)
{
    const std::string path = Write("[s]\r\nk=a\0b\r\n\0\0\0\r\nj=c\r\n"sv);
    EXPECT_EQ(Read(path, "s", "k"), "a");
    EXPECT_EQ(Read(path, "s", "j"), "c");
}

TEST_F(FileIniReaderTest, Utf16LittleEndianFileIsRead)
{
    const std::string path = Write("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0"sv);
    EXPECT_EQ(Read(path, "s", "k"), "v");
}

// The limit stays in bytes; a 2-, 3- or 4-byte character that does not fit is left out
// whole. An ANSI value is cut at the byte, as before.
TEST_F(FileIniReaderTest, Utf8ValueIsCutAtACharacterBoundary)
{
    const std::string path = Write("[s]\r\nk=a" + std::string(kWide) + "\r\n");
    const std::string a = "a", e = "\xC3\xA9", euro = "\xE2\x82\xAC";
    const std::pair<std::size_t, std::string> cuts[] = {
        {3, a}, {4, a + e}, {6, a + e}, {7, a + e + euro}, {10, a + e + euro}, {11, a + std::string(kWide)}};
    for (const auto& [size, text] : cuts) EXPECT_EQ(Read(path, "s", "k", size), text) << size;
    EXPECT_EQ(Read(Write("[s]\r\nk=a\xE9\xE9\xFF\r\n"), "s", "k", 3), "a\xE9");
}

TEST_F(FileIniReaderTest, TenMegabyteLineIsCutAndTheNextLineStillRead)
{
    constexpr std::size_t kLength = 10'000'000;
    constexpr std::size_t kLineBufferSize = 1040;
    const std::string path = Write("[s]\r\nk=" + std::string(kLength, 'a') + "\r\nj=w\r\n");
    EXPECT_EQ(Read(path, "s", "k", kLineBufferSize), std::string(kLineBufferSize - 1, 'a'));
    EXPECT_EQ(Read(path, "s", "j"), "w");
}

TEST_F(FileIniReaderTest, OnlyTheFirstPartOfAHugeFileIsRead)
{
    std::string text = "[s]\r\nk=v\r\n";
    text.resize(kMaxIniFileBytes, ';');
    text += "\r\nj=w\r\n";
    const std::string path = Write(text);
    EXPECT_EQ(Read(path, "s", "k"), "v");
    EXPECT_EQ(Read(path, "s", "j"), "");
}

}  // namespace
