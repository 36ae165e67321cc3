// Tests of the build-time packer run as the build runs it: output bytes and source errors.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

struct PackResult
{
    int status;
    std::string errors;
};

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

struct PackerTest : ::testing::Test
{
    fs::path dir = fs::temp_directory_path() / "pack_lang_consts_test";

    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }

    [[nodiscard]] PackResult pack(const std::string& source) const
    {
        std::ofstream(dir / "src.txt", std::ios::binary) << source;
        const std::string command = std::string("'") + PACK_LANG_CONSTS + "' '"
            + (dir / "src.txt").string() + "' '" + (dir / "out.bin").string() + "' '"
            + (dir / "out.cpp").string() + "' a@b.c http://w '" + (dir / "ids.h").string()
            + "' 2> '" + (dir / "err.txt").string() + "'";
        const int status = std::system(command.c_str());
        return { status, slurp(dir / "err.txt") };
    }
};

} // namespace

TEST_F(PackerTest, PacksEscapesPlaceholdersAndWindows1252)
{
    const PackResult run = pack(
        "\xEF\xBB\xBF# comment\r\nA=x\\r\\n\\\\{MAIL_ADDRESS} \xE2\x82\xAC\r\n\nB_={WEB_SITE}\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string expected = std::string("\x01\x02\0\0\0\x01\0A\x0B\0x\r\n\\a@b.c \x80", 21)
        + std::string("\x02\0B_\x08\0http://w\0\0\0", 17);
    EXPECT_EQ(slurp(dir / "out.bin"), expected);
    EXPECT_NE(slurp(dir / "out.cpp").find("findResource"), std::string::npos);
    // Every constant gets a compile-time id of its own name.
    const std::string ids = slurp(dir / "ids.h");
    EXPECT_NE(ids.find("inline constexpr ConstantId A { \"A\" };"), std::string::npos) << ids;
    EXPECT_NE(ids.find("inline constexpr ConstantId B_ { \"B_\" };"), std::string::npos) << ids;

    // An unchanged result leaves the outputs alone, so nothing downstream rebuilds.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(dir / "out.bin", old);
    fs::last_write_time(dir / "out.cpp", old);
    ASSERT_EQ(pack("A=x\\r\\n\\\\{MAIL_ADDRESS} \xE2\x82\xAC\nB_={WEB_SITE}").status, 0);
    EXPECT_EQ(fs::last_write_time(dir / "out.bin"), old);
    EXPECT_EQ(fs::last_write_time(dir / "out.cpp"), old);
}

TEST_F(PackerTest, SourceFaultsFailTheBuildWithFileAndLine)
{
    struct Case
    {
        const char* source;
        const char* where;
    };
    const Case cases[] = {
        { "B=1\nA=2\n", "src.txt:2:" },
        { "AB=1\n#\nab=2\n", "src.txt:3:" },
        { "1A=x\n", "src.txt:1:" },
        { "A=x\n\nno equals\n", "src.txt:3:" },
        { "A=\\t\n", "src.txt:1:" },
        { "A=\xC4\x89\n", "src.txt:1:" },
        { "A=\xFF\n", "src.txt:1:" },
        { "=x\n", "src.txt:1:" },
    };
    for (const Case& c : cases) {
        const PackResult run = pack(c.source);
        EXPECT_NE(run.status, 0) << c.source;
        EXPECT_NE(run.errors.find(c.where), std::string::npos) << c.source << " -> " << run.errors;
    }
}
