#include "app/ConfigPath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Build(std::string_view directory, std::size_t size, bool* ok = nullptr)
{
    std::vector<char> out(size, 'x');
    const bool built = BuildConfigPath(directory, out);
    if (ok) *ok = built;
    return std::string(out.data());
}

TEST(ConfigPath, JoinsDirectoryAndFileName)
{
    EXPECT_EQ(Build("Z:\\tmp\\run", 64), "Z:\\tmp\\run\\data.ini");
}

TEST(ConfigPath, DriveRootKeepsOneBackslash)
{
    EXPECT_EQ(Build("C:\\", 64), "C:\\data.ini");
}

TEST(ConfigPath, OnlyOneTrailingBackslashIsDropped)
{
    EXPECT_EQ(Build("C:\\dir\\\\", 64), "C:\\dir\\\\data.ini");
}

TEST(ConfigPath, DirectoriesLongerThanTheOldFieldStillFindTheirOwnFile)
{
    const std::string directory = "Z:\\" + std::string(200, 'd');
    EXPECT_EQ(Build(directory, 32768), directory + "\\data.ini");
}

TEST(ConfigPath, RefusesRatherThanTruncates)
{
    bool ok = true;
    // "C:\abc" + "\data.ini" is 15 characters: 16 bytes fit exactly, 15 do not.
    EXPECT_EQ(Build("C:\\abc", 16, &ok), "C:\\abc\\data.ini");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Build("C:\\abc", 15, &ok), "");
    EXPECT_FALSE(ok);
}

TEST(ConfigPath, EmptyDirectoryGivesNoPath)
{
    bool ok = true;
    EXPECT_EQ(Build("", 64, &ok), "");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Build("\\", 64, &ok), "");
    EXPECT_FALSE(ok);
}

}  // namespace
