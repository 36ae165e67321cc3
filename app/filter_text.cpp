// File-type filters written as the program's forms write them: "description|mask|...".
#include "filter_text.h"

#include <QRegularExpression>

namespace quorvane::app {

QList<FilterEntry> splitFilter(const QString& filter)
{
    QList<FilterEntry> entries;
    if (filter.isEmpty())
        return entries;
    const QStringList fields = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < fields.size(); i += 2)
        entries.append({ fields[i], i + 1 < fields.size() ? fields[i + 1] : QString() });
    return entries;
}

QString joinFilter(const QList<FilterEntry>& entries)
{
    QStringList fields;
    for (const FilterEntry& entry : entries)
        fields << entry.description << entry.mask;
    return fields.join(QLatin1Char('|'));
}

QList<FilterEntry> translateFilter(const QList<FilterEntry>& designed, const QString& translated)
{
    const QList<FilterEntry> words = splitFilter(translated);
    QList<FilterEntry> entries = designed;
    for (qsizetype i = 0; i < entries.size() && i < words.size(); ++i) {
        const QString description = words[i].description.trimmed();
        if (!description.isEmpty())
            entries[i].description = description;
    }
    return entries;
}

QString nameFilter(const FilterEntry& entry)
{
    QString mask = entry.mask == QLatin1String("*.*") ? QStringLiteral("*") : entry.mask.trimmed();
    // A translator writes "Text files (*.txt)"; Qt would take the bracketed patterns as
    // the filter's own, so the program's mask replaces them.
    static const QRegularExpression patterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString description = entry.description;
    description.remove(patterns);
    description = description.trimmed();
    if (description.isEmpty() || description == entry.mask || description == mask)
        return mask;
    return QStringLiteral("%1 (%2)").arg(description, mask);
}

} // namespace quorvane::app
