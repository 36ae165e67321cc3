// File-type filters written as the program's forms write them: "description|mask|...".
#pragma once

#include <QList>
#include <QString>

namespace quorvane::app {

/// One pair of a filter text.
struct FilterEntry
{
    QString description;
    QString mask;
};

/// The pairs of "description|mask|description|mask"; a last description without its
/// mask gets an empty one.
[[nodiscard]] QList<FilterEntry> splitFilter(const QString& filter);
/// The filter text of the pairs, the inverse of splitFilter.
[[nodiscard]] QString joinFilter(const QList<FilterEntry>& entries);

/// The descriptions of `translated` over the masks of `designed`, pair by pair: a language
/// file names the kinds of file in its own words but never changes which files a filter
/// takes. A pair the translation lacks, or leaves without a description, keeps the designed
/// one; pairs beyond the designed ones are ignored.
[[nodiscard]] QList<FilterEntry> translateFilter(
    const QList<FilterEntry>& designed, const QString& translated);

/// The entry as a QFileDialog name filter: the description without a pattern list of its
/// own, then the mask in brackets ("Text files (*.txt)"); the mask alone when the
/// description is nothing but the mask. "*.*" becomes "*", which Qt needs to list the
/// names without a dot.
[[nodiscard]] QString nameFilter(const FilterEntry& entry);

} // namespace quorvane::app
