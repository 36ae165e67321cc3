// The CD player database: the albums of cdplayer.ini and the track titles of one of them.
#pragma once

#include "ini_file.h"
#include "list_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// The database's name when the settings name none.
inline constexpr std::u32string_view kDefaultCdPlayerIni = U"cdplayer.ini";

/// The most tracks read from one album: more than any disc holds, few enough that a
/// corrupt count cannot make a list of millions of lines.
inline constexpr std::int32_t kMaxCdTracks = 999;

/// One album as the album list shows it: the section name and three of its keys, each
/// "--" when the key is missing.
struct CdAlbum
{
    std::u32string id;
    std::u32string artist;
    std::u32string title;
    std::u32string numtracks; ///< as written, not checked
};

/// One album per section, in file order.
[[nodiscard]] std::vector<CdAlbum> cdAlbums(const IniFile& ini);

/// The track titles of one album, or why they cannot be used.
struct CdTracks
{
    std::vector<std::u32string> titles; ///< empty when refused
    std::u32string error; ///< empty when usable
};

/// The titles of the album in section `sectionIndex`: n titles, title i from key "i"
/// (decimal, no leading zero), empty when that key is missing, where n is the integer value
/// of "numtracks" (0 when missing or negative, at most kMaxCdTracks). Refused with an
/// error: a "numtracks" that is not an integer ("'%s' is not a valid integer value" with its
/// text); a title holding a control character (below U+0020, or U+007F), which a file name
/// must not get and which would cut a list file short; a section index out of range.
[[nodiscard]] CdTracks cdTrackTitles(const IniFile& ini, std::size_t sectionIndex);

/// The list file of the titles: UTF-8, one title per line, each line ended by CR LF.
[[nodiscard]] std::string trackListFileBytes(const std::vector<std::u32string>& titles);

/// The first `maxNames` titles as the list modes take them: read back as the list file of
/// the titles would be (refused as that file would be), except that a missing title is an
/// empty name at its track's place, so that every later title stays beside its own track.
[[nodiscard]] ListFileNames cdTrackListNames(
    const std::vector<std::u32string>& titles, std::size_t maxNames);

/// Where the database is read: a configured value holding "/" is used unchanged; a bare
/// file name (an empty value means kDefaultCdPlayerIni) is looked for in the program's
/// configuration directory, configHome()/Quorvane/. Empty when no home directory is known.
[[nodiscard]] std::u32string cdPlayerIniPath(const std::u32string& configured);

} // namespace quorvane::engine
