// The text of the settings file: sections of "key=value" lines, and the form of a value.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace quorvane::app {

/// A value as the file spells it, back to the string it stands for. A value is always one
/// string: commas and semicolons are ordinary characters. The forms the file has always
/// used are read as they were written: double quotes round a value (or a part of it) are
/// dropped, the backslash escapes \\ \" \' \? \a \b \f \n \r \t \v, \x followed by hex
/// digits (one UTF-16 unit, so the carried bytes of an undecodable file name come back)
/// and \ followed by octal digits stand for their character, and a leading "@@" for "@".
/// Blanks round the value were trimmed before.
[[nodiscard]] QString decodeSettingsValue(QStringView text);

/// The inverse of decodeSettingsValue, in the form older versions of the program read too:
/// a value with blanks at its ends, a comma, a semicolon or "=" stands in double quotes;
/// backslash, double quote, control characters and lone surrogates (the bytes of a name
/// that is not UTF-8) are escaped; everything else is written as it is (UTF-8 in the file).
/// decodeSettingsValue(encodeSettingsValue(v)) == v for every QString v.
[[nodiscard]] QString encodeSettingsValue(QStringView value);

/// The sections and values of a settings file, each value kept as the file spells it, so
/// that values the program does not know survive a rewrite unchanged. Values before the
/// first section, and "[General]", are the values directly under the key.
class SettingsText
{
public:
    /// The text of `bytes` (UTF-8; a byte order mark is dropped; lines end at LF or CR LF;
    /// ";" or "#" starts a comment line). Nullopt when a line is neither blank, a comment, a
    /// "[section]" nor a "key=value" with a key: such a file is not a settings file.
    [[nodiscard]] static std::optional<SettingsText> parse(const QByteArray& bytes);
    /// The file's new text: every section that holds a value, in their order, LF line ends.
    [[nodiscard]] QByteArray serialize() const;

    /// The spelled value of `key` in `section` ("" or "General" for the key's own).
    [[nodiscard]] std::optional<QString> spelled(const QString& section, const QString& key) const;
    void set(const QString& section, const QString& key, const QString& spelled);
    void remove(const QString& section, const QString& key);
    void removeSection(const QString& section);
    /// At least one value in any section.
    [[nodiscard]] bool holdsValues() const;

private:
    struct Value
    {
        QString key;
        QString spelled;
    };
    struct Section
    {
        QString name;
        std::vector<Value> values;
    };
    [[nodiscard]] Section* find(const QString& section);
    [[nodiscard]] const Section* find(const QString& section) const;

    std::vector<Section> m_sections;
};

} // namespace quorvane::app
