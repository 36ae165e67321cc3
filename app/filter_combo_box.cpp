// The file-type filter: descriptions shown, masks applied to the file list.
#include "filter_combo_box.h"

#include "filter_text.h"
#include "qt_text.h"

#include <array>
#include <utility>

namespace quorvane::app {

namespace {

constexpr std::array<std::pair<const char*, const char*>, 16> kFilters { {
    { "Tutti i files (*.*)", "*.*" },
    { "Mp3 Files (*.mp3)", "*.mp3" },
    { "Midi Files (*.mid)", "*.mid" },
    { "Wave Files (*.wav)", "*.wav" },
    { "GIF Files (*.gif)", "*.gif" },
    { "JPEG Files (*.jpg)", "*.jpg" },
    { "Bitmap Files (*.bmp)", "*.bmp" },
    { "Altro........", "*.*" },
    { "Txt Files (*.txt)", "*.txt" },
    { "Doc Files (*.doc)", "*.doc" },
    { "PNG Files (*.png)", "*.png" },
    { "SVG Files (*.svg)", "*.svg" },
    { "RTF Files (*.rtf)", "*.rtf" },
    { "ODT Files (*.odt)", "*.odt" },
    { "FLAC Files (*.flac)", "*.flac" },
    { "OGG Vorbis Files (*.ogg)", "*.ogg" },
} };

} // namespace

FilterComboBox::FilterComboBox(QWidget* parent)
    : QComboBox(parent)
{
    for (const auto& [description, mask] : kFilters)
        addItem(QString::fromUtf8(description), QString::fromUtf8(mask));
    setCurrentIndex(0);
}

QString FilterComboBox::filterText() const
{
    QList<FilterEntry> entries;
    for (int i = 0; i < static_cast<int>(kFilters.size()) && i < count(); ++i)
        entries.append({ itemText(i), itemData(i).toString() });
    return joinFilter(entries);
}

void FilterComboBox::setFilterText(const QString& filter)
{
    QList<FilterEntry> designed;
    for (const auto& [description, mask] : kFilters)
        designed.append({ QString::fromUtf8(description), QString::fromUtf8(mask) });
    const QList<FilterEntry> entries = translateFilter(designed, filter);
    for (int i = 0; i < static_cast<int>(entries.size()) && i < count(); ++i)
        setItemText(i, entries[i].description);
}

std::u32string FilterComboBox::mask() const
{
    const QString m = currentData().toString();
    return m.isEmpty() ? std::u32string(U"*.*") : toCore(m);
}

} // namespace quorvane::app
