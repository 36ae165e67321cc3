// The CD player database: the albums of cdplayer.ini and the track titles of one of them.
#include "cd_player_db.h"

#include "integer_text.h"

#include "platform/config_home.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace quorvane::engine {

namespace {

constexpr std::u32string_view kMissing = U"--";

std::u32string valueOr(const IniFile& ini, std::size_t section, std::u32string_view key)
{
    return std::u32string(ini.value(section, key).value_or(kMissing));
}

/// The track index a key names: decimal digits without a leading zero ("0" itself aside),
/// as the database writes them; nullopt for any other key or an index of `count` or more.
std::optional<std::size_t> trackIndex(std::u32string_view key, std::size_t count)
{
    if (key.empty() || key.size() > 3 || (key.size() > 1 && key.front() == U'0'))
        return std::nullopt;
    std::size_t index = 0;
    for (const char32_t c : key) {
        if (c < U'0' || c > U'9')
            return std::nullopt;
        index = index * 10 + (c - U'0');
    }
    return index < count ? std::optional(index) : std::nullopt;
}

std::u32string ascii(std::string_view text)
{
    std::u32string out;
    for (const char c : text)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

} // namespace

std::vector<CdAlbum> cdAlbums(const IniFile& ini)
{
    std::vector<CdAlbum> albums;
    albums.reserve(ini.sectionCount());
    for (std::size_t s = 0; s < ini.sectionCount(); ++s) {
        albums.push_back({ std::u32string(ini.sectionName(s)), valueOr(ini, s, U"artist"),
            valueOr(ini, s, U"title"), valueOr(ini, s, U"numtracks") });
    }
    return albums;
}

CdTracks cdTrackTitles(const IniFile& ini, std::size_t sectionIndex)
{
    if (sectionIndex >= ini.sectionCount())
        return { {}, U"there is no album " + ascii(std::to_string(sectionIndex + 1)) };
    std::int32_t tracks = 0;
    if (const auto numtracks = ini.value(sectionIndex, U"numtracks")) {
        const auto value = integerValue(*numtracks);
        if (!value)
            return { {}, notAnIntegerMessage(*numtracks) };
        tracks = std::clamp(*value, 0, kMaxCdTracks);
    }
    const auto count = static_cast<std::size_t>(tracks);
    CdTracks read { std::vector<std::u32string>(count), {} };
    // One pass over the keys, however many the section holds; the first of two equal keys
    // counts, as for every lookup.
    std::vector<bool> found(count, false);
    for (std::size_t k = 0; k < ini.keyCount(sectionIndex); ++k) {
        const auto index = trackIndex(ini.keyName(sectionIndex, k), count);
        if (!index || found[*index])
            continue;
        found[*index] = true;
        read.titles[*index] = ini.keyValue(sectionIndex, k);
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (const char32_t c : read.titles[i]) {
            if (c < 0x20 || c == 0x7F) {
                std::array<char, 8> hex {};
                std::snprintf(hex.data(), hex.size(), "0x%02X", static_cast<unsigned>(c));
                return { {},
                    U"the title of track " + ascii(std::to_string(i + 1))
                        + U" holds the control character " + ascii(hex.data()) };
            }
        }
    }
    return read;
}

std::string trackListFileBytes(const std::vector<std::u32string>& titles)
{
    std::string bytes;
    for (const std::u32string& title : titles) {
        bytes += platform::encodeName(title);
        bytes += "\r\n";
    }
    return bytes;
}

ListFileNames cdTrackListNames(const std::vector<std::u32string>& titles, std::size_t maxNames)
{
    std::istringstream list(trackListFileBytes(titles));
    return readListNames(list, maxNames, ListKind::TrackTitles);
}

std::u32string cdPlayerIniPath(const std::u32string& configured)
{
    if (configured.find(U'/') != std::u32string::npos)
        return configured;
    const std::string home = platform::configHome();
    if (home.empty())
        return {};
    const std::u32string name
        = configured.empty() ? std::u32string(kDefaultCdPlayerIni) : configured;
    return platform::decodeName(home) + (home.ends_with('/') ? U"" : U"/") + U"Quorvane/" + name;
}

} // namespace quorvane::engine
