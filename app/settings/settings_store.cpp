// The settings file.
#include "settings_store.h"

#include "app/qt_text.h"
#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <string>

namespace quorvane::app {

QString defaultSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Quorvane/Quorvane.ini");
}

namespace {

constexpr qint64 kMaxBytes = qint64 { 4 } * 1024 * 1024;
constexpr int kLockWaitMs = 10000;

/// The program writes its settings as plain UTF-8 text; a file with control bytes or
/// invalid UTF-8 was damaged or written by something else, and rewriting it would lose
/// what could not be read.
bool looksLikeSettingsText(const QByteArray& bytes)
{
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

/// The settings in the file at `path` (none when there is no file), or why it cannot be used.
struct FileRead
{
    SettingsText text;
    /// The message that tells why the file cannot be used; no name when it can.
    lang::ConstantId unusable;
};

FileRead readSettingsFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return { {}, lang::added::IMPOSTAZIONI_NON_FILE };
    QFile file(path);
    if (!info.isReadable() || !file.open(QIODevice::ReadOnly))
        return { {}, lang::added::IMPOSTAZIONI_NON_LEGGIBILI };
    constexpr lang::ConstantId invalid = lang::added::IMPOSTAZIONI_NON_VALIDE;
    if (file.size() > kMaxBytes)
        return { {}, invalid };
    const QByteArray bytes = file.readAll();
    if (!looksLikeSettingsText(bytes))
        return { {}, invalid };
    std::optional<SettingsText> text = SettingsText::parse(bytes);
    if (!text)
        return { {}, invalid };
    return { std::move(*text), {} };
}

} // namespace

SettingsStore::SettingsStore(const QString& path)
    : m_path(path.isEmpty() ? defaultSettingsPath() : path)
{
    FileRead read = readSettingsFile(m_path);
    m_text = std::move(read.text);
    m_unusable = read.unusable;
}

// Nothing is written without sync(): an unusable store, or one whose changes are dropped,
// leaves the file as it is.
SettingsStore::~SettingsStore() = default;

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

bool SettingsStore::keyExists() const
{
    // Values written but not yet synced count: the store is one view of the file.
    return usable() && m_text.holdsValues();
}

QString SettingsStore::readString(
    const QString& section, const QString& name, const QString& fallback) const
{
    if (!usable())
        return fallback;
    const std::optional<QString> spelled = m_text.spelled(section, name);
    return spelled ? decodeSettingsValue(*spelled) : fallback;
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

void SettingsStore::apply(SettingsText& text, const Change& change)
{
    switch (change.kind) {
    case Change::Kind::Set:
        text.set(change.section, change.name, change.spelled);
        break;
    case Change::Kind::Remove:
        text.remove(change.section, change.name);
        break;
    case Change::Kind::RemoveSection:
        text.removeSection(change.section);
        break;
    }
}

void SettingsStore::change(Change change)
{
    if (!usable())
        return;
    apply(m_text, change);
    m_changes.push_back(std::move(change));
}

void SettingsStore::writeString(const QString& section, const QString& name, const QString& value)
{
    change({ Change::Kind::Set, section, name, encodeSettingsValue(value) });
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
    change({ Change::Kind::Remove, section, name, {} });
}

void SettingsStore::removeSection(const QString& section)
{
    change({ Change::Kind::RemoveSection, section, {}, {} });
}

QString SettingsStore::write(const QByteArray& text) const
{
    platform::AtomicFile file;
    const std::string path = QFile::encodeName(m_path).toStdString();
    platform::Status status = file.open(path);
    if (status.ok())
        status
            = file.write(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (status.ok())
        status = file.commit();
    if (status.ok())
        return {};
    return aboutThisFile(lang::added::IMPOSTAZIONI_NON_SCRIVIBILI) + QStringLiteral(" (")
        + QString::fromStdString(status.error().describe()) + QLatin1Char(')');
}

QString SettingsStore::sync()
{
    if (!usable())
        return unusableReason();
    if (m_changes.empty())
        return {};
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // The lock is the one other instances, older versions among them, take on this file.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return aboutThisFile(lang::added::IMPOSTAZIONI_NON_SCRIVIBILI);
    // Another instance may have written since: its values stay, ours go on top.
    FileRead current = readSettingsFile(m_path);
    if (!current.unusable.name.empty())
        return aboutThisFile(current.unusable);
    for (const Change& c : m_changes)
        apply(current.text, c);
    if (QString failed = write(current.text.serialize()); !failed.isEmpty())
        return failed;
    m_text = std::move(current.text);
    m_changes.clear();
    return {};
}

} // namespace quorvane::app
