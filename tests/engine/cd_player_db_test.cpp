// The CD player database: the album list, the track titles of one album, where it is read.
#include "engine/cd_player_db.h"

#include "platform/name_codec.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quorvane::engine {
namespace {

using Titles = std::vector<std::u32string>;

TEST(CdPlayerDb, AlbumsAndTracksWithDashesAndEmptyTitlesForMissingKeys)
{
    const IniFile ini = IniFile::parse("[7A0B3C2D]\r\nartist=Band\r\ntitle=Live\r\nnumtracks=3\r\n"
                                       "0=Intro\r\n1=Song\r\n2=Outro\r\n[FF00]\nTITLE=Live\n"
                                       "[gaps]\nnumtracks=4\n0=a\n2=c\n2=later\n00=x\n4=beyond\n");
    const std::vector<CdAlbum> albums = cdAlbums(ini);
    ASSERT_EQ(albums.size(), 3U);
    const auto row = [](const CdAlbum& a) {
        return Titles { a.id, a.artist, a.title, a.numtracks };
    };
    EXPECT_EQ(row(albums[0]), (Titles { U"7A0B3C2D", U"Band", U"Live", U"3" }));
    EXPECT_EQ(row(albums[1]), (Titles { U"FF00", U"--", U"Live", U"--" }));

    const CdTracks tracks = cdTrackTitles(ini, 0);
    EXPECT_EQ(tracks.titles, (Titles { U"Intro", U"Song", U"Outro" }));
    EXPECT_EQ(trackListFileBytes(tracks.titles), "Intro\r\nSong\r\nOutro\r\n");
    EXPECT_EQ(trackListFileBytes({ U"perchè", U"" }), "perch\xC3\xA8\r\n\r\n");
    EXPECT_EQ(cdTrackTitles(ini, 1).error, U"") << "missing numtracks means no track";
    EXPECT_TRUE(cdTrackTitles(ini, 1).titles.empty());
    EXPECT_EQ(cdTrackTitles(ini, 2).titles, (Titles { U"a", U"", U"c", U"" }));
    EXPECT_FALSE(cdTrackTitles(ini, 3).error.empty());
}

TEST(CdPlayerDb, AMissingTitleKeepsItsTrackRowAndAHidingTitleIsRefused)
{
    // Every later title stays beside its own track.
    const ListFileNames gap = cdTrackListNames({ U"a", U"", U"c", U"" }, 10);
    EXPECT_TRUE(gap.refusal.empty()) << gap.refusal;
    EXPECT_EQ(gap.names, (Titles { U"a", U"", U"c", U"" }));
    EXPECT_EQ(cdTrackListNames({ U"a", U"", U"c" }, 2).names, (Titles { U"a", U"" }));
    EXPECT_EQ(alignTargetNames({ U"1.mp3F", U"2.mp3F", U"3.mp3F" }, gap.names, true),
        (Titles { U"a.mp3", U"2.mp3", U"c.mp3" }));

    for (const char32_t* title : { U".hidden", U".." }) {
        const ListFileNames read = cdTrackListNames({ U"a", U"", title }, 10);
        EXPECT_EQ(read.refusal, "line 3 begins with \".\", which would hide the file");
        EXPECT_TRUE(read.names.empty());
    }
}

TEST(CdPlayerDb, TitlesWithControlCharactersAreRefused)
{
    const IniFile ini
        = IniFile::parse("[c]\nnumtracks=2\n0=ok\n1=tab\there\n[d]\nnumtracks=1\n0=\x1A\n");
    EXPECT_EQ(
        cdTrackTitles(ini, 0).error, U"the title of track 2 holds the control character 0x09");
    EXPECT_EQ(
        cdTrackTitles(ini, 1).error, U"the title of track 1 holds the control character 0x1A");
    EXPECT_TRUE(cdTrackTitles(ini, 1).titles.empty());
}

/// A "numtracks" text and the track count it gives; nullopt when it is refused.
using NumtracksCase = std::pair<std::string, std::optional<std::size_t>>;

class Numtracks : public testing::TestWithParam<NumtracksCase>
{
};

TEST_P(Numtracks, IsASignedDecimalWithin32BitsAndCountsAtMostTheCap)
{
    const auto& [text, count] = GetParam();
    const CdTracks tracks = cdTrackTitles(IniFile::parse("[cd]\nnumtracks=" + text), 0);
    EXPECT_EQ(tracks.titles.size(), count.value_or(0)) << text;
    EXPECT_EQ(tracks.error,
        count ? U"" : U"'" + platform::decodeName(text) + U"' is not a valid integer value");
}

INSTANTIATE_TEST_SUITE_P(Texts, Numtracks,
    testing::Values(NumtracksCase { "12", 12 }, NumtracksCase { "+7", 7 },
        NumtracksCase { "007", 7 }, NumtracksCase { "-5", 0 }, NumtracksCase { "1000", 999 },
        NumtracksCase { "2147483647", 999 }, NumtracksCase { "-2147483648", 0 },
        NumtracksCase { "2147483648", {} }, NumtracksCase { "-2147483649", {} },
        NumtracksCase { "99999999999999999999", {} }, NumtracksCase { "", {} },
        NumtracksCase { "-", {} }, NumtracksCase { "1 2", {} }, NumtracksCase { "$1F", {} },
        NumtracksCase { "0x1F", {} }, NumtracksCase { "3x", {} }, NumtracksCase { "+-1", {} },
        NumtracksCase { "\xD9\xA1", {} }));

TEST(CdPlayerDb, BareNamesLiveInTheConfigurationDirectory)
{
    const test::TempDir dir;
    {
        const test::ScopedEnv config("XDG_CONFIG_HOME", dir.path() + "/conf/");
        const std::u32string base = platform::decodeName(dir.path()) + U"/conf/Quorvane/";
        EXPECT_EQ(cdPlayerIniPath(U"cdplayer.ini"), base + U"cdplayer.ini");
        EXPECT_EQ(cdPlayerIniPath(U""), base + U"cdplayer.ini");
        EXPECT_EQ(cdPlayerIniPath(U"/srv/cd.ini"), U"/srv/cd.ini");
        EXPECT_EQ(cdPlayerIniPath(U"sub/cd.ini"), U"sub/cd.ini");
    }
    const test::ScopedEnv home("HOME", dir.path());
    const std::u32string expected = platform::decodeName(dir.path()) + U"/.config/Quorvane/cd.ini";
    {
        const test::ScopedEnv relative("XDG_CONFIG_HOME", "conf");
        EXPECT_EQ(cdPlayerIniPath(U"cd.ini"), expected) << "a relative setting is ignored";
    }
    const test::ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(cdPlayerIniPath(U"cd.ini"), expected);
}

} // namespace
} // namespace quorvane::engine
