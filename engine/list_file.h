// Names from a list file, and their pairing with the files of a directory.
#pragma once

#include "entry_list.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// The destination names of a list file's bytes: every non-empty line in file order, not
/// trimmed; lines end at CR LF or a lone LF; a Ctrl-Z byte ends the file. The bytes are
/// read as UTF-8 when valid (a BOM dropped), otherwise as Windows-1252.
[[nodiscard]] std::vector<std::u32string> readListLines(std::string_view bytes);

/// The longest line, in bytes, that a list file may hold: no file name can be longer.
inline constexpr std::size_t kMaxListLineBytes = 4096;

/// The names read from a list file, or why it cannot be used.
struct ListFileNames
{
    /// In file order; empty when refused. Only track titles (ListKind::TrackTitles) hold
    /// empty names, one for each missing title.
    std::vector<std::u32string> names;
    std::string refusal; ///< empty when usable, else one line in English saying why
};

/// What the lines of a list stand for, which decides what is refused and what takes a row.
enum class ListKind {
    /// New names, one a line; empty lines take no row; a name beginning with "." is refused.
    NewNames,
    /// An album's track titles as new names: a missing title keeps its track's row as an
    /// empty name, so that every later title stays beside its own track.
    TrackTitles,
    /// Names of entries that exist (an order to number them in): dot-files among them.
    Entries,
};

/// The first `maxNames` names of a list file, read from `in` as readListLines reads bytes,
/// but streaming through a fixed buffer: reading stops once `maxNames` lines that take a
/// row have been read (at least one is read, so that an unusable file is refused even when
/// no name is needed). UTF-8 or Windows-1252 is decided on the lines read. A file without a
/// name gives no names and no refusal: the window's list dialog shows every destination
/// missing, the command line refuses it. Refused: a line read holding a control byte (below
/// 0x20, a CR that does not end the line included, or 0x7F); a new name beginning with "."
/// (it would hide the file); a line longer than kMaxListLineBytes; a read error. Lines after
/// the last one read are not looked at. See ListKind for the rest.
[[nodiscard]] ListFileNames readListNames(
    std::istream& in, std::size_t maxNames, ListKind kind = ListKind::NewNames);

/// `name` followed, with keepExtension, by "." and the extension of `source` when it has one.
[[nodiscard]] std::u32string withSourceExtension(
    std::u32string name, std::u32string_view source, bool keepExtension);

/// The new names of the files of `sources` (entries "nameF") as the list dialog confirms
/// them with its defaults: row i takes line i, with keepExtension followed by the source's
/// extension ("." + extension); a file without a line, or with an empty one, keeps its own
/// name. Lines beyond the last file are ignored.
[[nodiscard]] std::vector<std::u32string> alignTargetNames(
    const EntryList& sources, const std::vector<std::u32string>& lines, bool keepExtension);

} // namespace quorvane::engine
