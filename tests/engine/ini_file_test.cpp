// The INI reader: its line rules, and files that were never meant to be read as INI.
#include "engine/ini_file.h"

#include "platform/name_codec.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::engine {
namespace {

/// Every section as "name:key=value,key=value" in file order, for comparing whole files.
std::vector<std::u32string> dump(const IniFile& ini)
{
    std::vector<std::u32string> sections;
    for (std::size_t s = 0; s < ini.sectionCount(); ++s) {
        std::u32string text = std::u32string(ini.sectionName(s)) + U":";
        for (std::size_t k = 0; k < ini.keyCount(s); ++k)
            text += (k > 0 ? U"," : U"") + std::u32string(ini.keyName(s, k)) + U"="
                + std::u32string(ini.keyValue(s, k));
        sections.push_back(text);
    }
    return sections;
}

struct LayoutCase
{
    const char* what;
    std::string bytes;
    std::vector<std::u32string> sections;
};

void PrintTo(const LayoutCase& layout, std::ostream* out)
{
    *out << layout.what;
}

class IniLayout : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(IniLayout, ReadsSectionsAndKeysAsWritten)
{
    EXPECT_EQ(dump(IniFile::parse(GetParam().bytes)), GetParam().sections);
}

INSTANTIATE_TEST_SUITE_P(Files, IniLayout,
    testing::Values(LayoutCase { "no sections", "a=1\nb=2\n", {} },
        LayoutCase { "keys before any section", "k=v\n[S]\nx=1", { U"S:x=1" } },
        LayoutCase { "mixed line ends, blanks trimmed",
            "[ S ]\r\n x = 1 \r\ny=2\n\t[T]\tjunk\r\nz=\r\n", { U"S:x=1,y=2", U"T:z=" } },
        LayoutCase { "comments and lines without =",
            "[S]\n;x=1\n  ; y=2\nnothing\n=empty key\na=b=c", { U"S:a=b=c" } },
        LayoutCase {
            "quotes", "[S]\na=\"  x \"\nb='y'\nc=\"z'\nd=\"", { U"S:a=  x ,b=y,c=\"z',d=\"" } },
        LayoutCase { "a lone CR is a character", "[S]\na=1\rb=2\n", { U"S:a=1\rb=2" } },
        LayoutCase { "unclosed header", "[Live\nx=1", { U"Live:x=1" } },
        LayoutCase { "UTF-8 with BOM", "\xEF\xBB\xBF[S]\nt=perch\xC3\xA8", { U"S:t=perchè" } },
        LayoutCase { "Windows-1252", "[S]\nt=perch\xE8 \x80", { U"S:t=perchè €" } },
        LayoutCase {
            "NUL kept", std::string("[S]\nt=a\0b", 9), { std::u32string(U"S:t=a\0b", 7) } },
        LayoutCase { "repeated section ignored", "[A]\nx=1\n[b]\ny=1\n[a]\nx=2\nz=3\n[B]\n",
            { U"A:x=1", U"b:y=1" } }));

TEST(IniFile, NamesMatchWithoutRegardToCaseByTheWindows1252Pairs)
{
    const IniFile ini = IniFile::parse("[Àlbum]\nTitle=first\ntitle=second\n[zz]\n[Œuvre]\n");
    ASSERT_EQ(ini.findSection(U"àLBUM"), std::optional<std::size_t>(0));
    EXPECT_EQ(ini.findSection(U"œUVRE"), std::optional<std::size_t>(2));
    EXPECT_EQ(ini.findSection(U"album"), std::nullopt);
    EXPECT_EQ(ini.value(0, U"TITLE"), std::optional<std::u32string_view>(U"first"));
    EXPECT_EQ(ini.value(0, U"artist"), std::nullopt);
}

TEST(IniFile, HostileBytesNeverBreakTheReader)
{
    // Many lines whose searches for "]" and "=" find nothing: quadratic work would not end
    // within the test's time.
    std::string many = "[S]\nk=" + std::string(1'000'000, 'v') + "\n";
    for (int i = 0; i < 100'000; ++i)
        many += "[unclosed\nno equals sign\n[" + std::to_string(i) + "]\n";
    const IniFile lines = IniFile::parse(many);
    EXPECT_EQ(lines.value(0, U"k")->size(), 1'000'000U);
    EXPECT_EQ(lines.findSection(U"99999"), std::optional<std::size_t>(100'001));

    // Random bytes, rich in the characters the reader looks at: parsed and walked whole.
    std::mt19937 random(7);
    for (int size = 0; size < 8000; size += 37) {
        std::string bytes;
        for (int i = 0; i < size; ++i) {
            const auto b = static_cast<char>(random() % 256);
            bytes.push_back(b >= 0 && b < 40 ? "[]=;\r\n \""[b % 8] : b);
        }
        EXPECT_LE(dump(IniFile::parse(bytes)).size(), std::size_t(size));
    }
}

TEST(IniFile, ReadingAFileRefusesWhatIsNoIniFile)
{
    const test::TempDir dir;
    dir.file("cd.ini", "[S]\nk=v\n");
    dir.dir("folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    dir.file("big.ini");
    std::filesystem::resize_file(dir / "big.ini", kMaxIniFileBytes + 1);

    const IniFileRead read = readIniFile(platform::decodeName(dir / "cd.ini"));
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.file.value(0, U"k"), std::optional<std::u32string_view>(U"v"));

    const std::vector<std::pair<std::string, std::string>> refused {
        { "missing.ini", "No such file or directory" },
        { "folder", "it is a directory" },
        { "fifo", "it is not a regular file" },
        { "big.ini", "it is larger than 16 MiB" },
    };
    for (const auto& [name, reason] : refused) {
        const IniFileRead failed = readIniFile(platform::decodeName(dir / name));
        EXPECT_EQ(failed.error, reason) << name;
        EXPECT_EQ(failed.file.sectionCount(), 0U);
    }
    if (::geteuid() != 0) {
        ::chmod((dir / "cd.ini").c_str(), 0);
        EXPECT_EQ(readIniFile(platform::decodeName(dir / "cd.ini")).error, "Permission denied");
    }
}

} // namespace
} // namespace quorvane::engine
