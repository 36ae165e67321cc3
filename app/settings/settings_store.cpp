// The settings file.
#include "settings_store.h"

#include "app/qt_text.h"
#include "lang/added_texts.h"
#include "lang/text_format.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>

namespace quorvane::app {

QString defaultSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Quorvane/Quorvane.ini");
}

namespace {

/// The program writes its settings as plain UTF-8 text; a file with control bytes or
/// invalid UTF-8 was damaged or written by something else, and QSettings would quietly
/// read part of it and rewrite the rest away.
bool looksLikeSettingsText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kMaxBytes = qint64 { 4 } * 1024 * 1024;
    if (file.size() > kMaxBytes)
        return false;
    const QByteArray bytes = file.readAll();
    const bool control = std::ranges::any_of(bytes, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7f;
    });
    if (control)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8(bytes));
    return !utf8.hasError();
}

} // namespace

SettingsStore::SettingsStore(const QString& path)
    : m_path(path.isEmpty() ? defaultSettingsPath() : path)
{
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile())
        m_unusable = lang::added::IMPOSTAZIONI_NON_FILE;
    else if (info.exists() && !info.isReadable())
        m_unusable = lang::added::IMPOSTAZIONI_NON_LEGGIBILI;
    else if (info.exists() && !looksLikeSettingsText(m_path))
        m_unusable = lang::added::IMPOSTAZIONI_NON_VALIDE;
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    if (usable() && m_settings->status() != QSettings::NoError)
        m_unusable = lang::added::IMPOSTAZIONI_NON_VALIDE;
}

// An unusable store never gets a value set, so QSettings has nothing to write back when
// it goes.
SettingsStore::~SettingsStore() = default;

bool SettingsStore::keyExists() const
{
    // Values written but not yet synced count: the store is one view of the file.
    return usable() && !m_settings->allKeys().isEmpty();
}

QString SettingsStore::unusableReason() const
{
    return usable() ? QString() : aboutThisFile(m_unusable);
}

QString SettingsStore::aboutThisFile(lang::ConstantId id) const
{
    // Told when shown, so that the words follow the language in force then.
    return toQt(
        lang::formatText(lang::addedText(id), { toCore(QDir::toNativeSeparators(m_path)) }));
}

QString SettingsStore::key(const QString& section, const QString& name) const
{
    // Values without a section stand under the key itself ([General] in the file).
    return section.isEmpty() ? name : section + QLatin1Char('/') + name;
}

QString SettingsStore::readString(
    const QString& section, const QString& name, const QString& fallback) const
{
    if (!usable())
        return fallback;
    const QVariant value = m_settings->value(key(section, name));
    return value.isValid() ? value.toString() : fallback;
}

int SettingsStore::readInteger(const QString& section, const QString& name, int fallback) const
{
    // Decimal text only: "0x10", " 7" or "abc" are no integers and give the default.
    const QString text = readString(section, name, {});
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok && !text.contains(QLatin1Char(' ')) ? value : fallback;
}

bool SettingsStore::readBool(const QString& section, const QString& name, bool fallback) const
{
    return readInteger(section, name, fallback ? 1 : 0) != 0;
}

void SettingsStore::writeString(const QString& section, const QString& name, const QString& value)
{
    if (usable())
        m_settings->setValue(key(section, name), value);
}

void SettingsStore::writeInteger(const QString& section, const QString& name, int value)
{
    writeString(section, name, QString::number(value));
}

void SettingsStore::writeBool(const QString& section, const QString& name, bool value)
{
    writeString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsStore::remove(const QString& section, const QString& name)
{
    if (usable())
        m_settings->remove(key(section, name));
}

void SettingsStore::removeSection(const QString& section)
{
    if (usable())
        m_settings->remove(section);
}

QString SettingsStore::sync()
{
    if (!usable())
        return unusableReason();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        return aboutThisFile(lang::added::IMPOSTAZIONI_NON_SCRIVIBILI);
    return {};
}

} // namespace quorvane::app
