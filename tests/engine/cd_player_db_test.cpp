// The CD player database: the album list, the track titles of one album, where it is read.
#include "engine/cd_player_db.h"

#include "platform/name_codec.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quorvane::engine {
namespace {

using Titles = std::vector<std::u32string>;

TEST(CdPlayerDb, AlbumsListEverySectionWithDashesForMissingKeys)
{
    const IniFile ini = IniFile::parse("[7A0B3C2D]\r\nartist=Band\r\ntitle=Live\r\nnumtracks=3\r\n"
                                       "0=Intro\r\n1=Song\r\n2=Outro\r\n"
                                       "[FF00]\nTITLE=Live\n[Bare]\n");
    const std::vector<CdAlbum> albums = cdAlbums(ini);
    ASSERT_EQ(albums.size(), 3U);
    EXPECT_EQ(albums[0].id, U"7A0B3C2D");
    EXPECT_EQ(albums[0].artist, U"Band");
    EXPECT_EQ(albums[0].title, U"Live");
    EXPECT_EQ(albums[0].numtracks, U"3");
    EXPECT_EQ(albums[1].artist, U"--") << "a section without artist";
    EXPECT_EQ(albums[1].title, U"Live");
    EXPECT_EQ(albums[2].numtracks, U"--");

    const CdTracks tracks = cdTrackTitles(ini, 0);
    EXPECT_EQ(tracks.error, U"");
    EXPECT_EQ(tracks.titles, (Titles { U"Intro", U"Song", U"Outro" }));
    EXPECT_EQ(trackListFileBytes(tracks.titles), "Intro\r\nSong\r\nOutro\r\n");
    EXPECT_EQ(
        trackListFileBytes({ U"perchè", U"", U"€" }), "perch\xC3\xA8\r\n\r\n\xE2\x82\xAC\r\n");

    const CdTracks none = cdTrackTitles(ini, 2);
    EXPECT_EQ(none.error, U"") << "missing numtracks means no track";
    EXPECT_TRUE(none.titles.empty());
    EXPECT_FALSE(cdTrackTitles(ini, 3).error.empty());
}

TEST(CdPlayerDb, MissingTrackKeysGiveEmptyTitlesAndOnlyTrackIndexesCount)
{
    const IniFile ini
        = IniFile::parse("[cd]\nnumtracks=4\n0=a\n2=c\n2=later\n00=x\n01=y\n4=beyond\n"
                         "[negative]\nnumtracks=-2\n0=a\n[huge]\nnumtracks=2147483647\n"
                         "998=last\n999=over\n");
    EXPECT_EQ(cdTrackTitles(ini, 0).titles, (Titles { U"a", U"", U"c", U"" }));
    EXPECT_TRUE(cdTrackTitles(ini, 1).titles.empty());
    const CdTracks huge = cdTrackTitles(ini, 2);
    ASSERT_EQ(huge.titles.size(), std::size_t(kMaxCdTracks));
    EXPECT_EQ(huge.titles.back(), U"last");
}

TEST(CdPlayerDb, UnusableTracksAreRefusedWithTheReason)
{
    const IniFile ini
        = IniFile::parse("[a]\nnumtracks=3x\n0=t\n[b]\nnumtracks=\n"
                         "[c]\nnumtracks=2\n0=ok\n1=tab\there\n[d]\nnumtracks=1\n0=\x1A\n");
    const std::vector<std::u32string> errors { U"'3x' is not a valid integer value",
        U"'' is not a valid integer value",
        U"the title of track 2 holds the control character 0x09",
        U"the title of track 1 holds the control character 0x1A" };
    for (std::size_t s = 0; s < errors.size(); ++s) {
        const CdTracks tracks = cdTrackTitles(ini, s);
        EXPECT_EQ(tracks.error, errors[s]);
        EXPECT_TRUE(tracks.titles.empty());
    }
}

/// A "numtracks" text and the track count it gives, or nullopt when it is refused.
struct NumtracksCase
{
    std::string text;
    std::optional<std::size_t> tracks;
};

void PrintTo(const NumtracksCase& numtracks, std::ostream* out)
{
    *out << '"' << numtracks.text << '"';
}

class Numtracks : public testing::TestWithParam<NumtracksCase>
{
};

TEST_P(Numtracks, IsASignedDecimalWithin32BitsAndCountsAtMostTheCap)
{
    const IniFile ini = IniFile::parse("[cd]\nnumtracks=" + GetParam().text + "\n");
    const CdTracks tracks = cdTrackTitles(ini, 0);
    if (GetParam().tracks) {
        EXPECT_EQ(tracks.error, U"");
        EXPECT_EQ(tracks.titles.size(), *GetParam().tracks);
    } else {
        EXPECT_EQ(tracks.error,
            U"'" + platform::decodeName(GetParam().text) + U"' is not a valid integer value");
        EXPECT_TRUE(tracks.titles.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, Numtracks,
    testing::Values(NumtracksCase { "12", 12 }, NumtracksCase { "+7", 7 },
        NumtracksCase { "-0", 0 }, NumtracksCase { "007", 7 }, NumtracksCase { "-5", 0 },
        NumtracksCase { "1000", 999 }, NumtracksCase { "2147483647", 999 },
        NumtracksCase { "-2147483648", 0 }, NumtracksCase { "2147483648", {} },
        NumtracksCase { "-2147483649", {} }, NumtracksCase { "99999999999999999999", {} },
        NumtracksCase { "", {} }, NumtracksCase { "-", {} }, NumtracksCase { "1 2", {} },
        NumtracksCase { "$1F", {} }, NumtracksCase { "0x1F", {} }, NumtracksCase { "1e3", {} },
        NumtracksCase { "+-1", {} }, NumtracksCase { "\xD9\xA1", {} }));

TEST(CdPlayerDb, BareNamesLiveInTheConfigurationDirectory)
{
    const test::TempDir dir;
    {
        const test::ScopedEnv config("XDG_CONFIG_HOME", dir.path() + "/conf/");
        const std::u32string base = platform::decodeName(dir.path()) + U"/conf/Quorvane/";
        EXPECT_EQ(cdPlayerIniPath(U"cdplayer.ini"), base + U"cdplayer.ini");
        EXPECT_EQ(cdPlayerIniPath(U""), base + U"cdplayer.ini");
        EXPECT_EQ(cdPlayerIniPath(U"Music DB.ini"), base + U"Music DB.ini");
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
