// The settings file, used the way the program once used its registry key: sections of
// string values, booleans as "1"/"0", integers as decimal text.
#pragma once

#include "lang/constant_id.h"

#include <QSettings>
#include <QString>

#include <memory>

namespace quorvane::app {

/// One settings file ($XDG_CONFIG_HOME/Quorvane/Quorvane.ini). Reading never fails: a
/// missing or malformed value gives the default. A file that cannot be read as settings
/// (corrupt, unreadable, a directory) makes the store unusable: the program then starts
/// with defaults and never writes, so the user's file is not replaced by values they did not
/// choose. Writes reach the disk atomically (QSettings writes a whole new file and renames
/// it over the old one, under a lock shared with other instances).
class SettingsStore
{
public:
    /// The store at `path`; the default path when empty.
    explicit SettingsStore(const QString& path = {});
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    [[nodiscard]] const QString& path() const { return m_path; }
    /// Why the file cannot be used, in the language in force; empty when it can.
    [[nodiscard]] QString unusableReason() const;
    /// The key exists: the file exists and holds at least one value.
    [[nodiscard]] bool keyExists() const;

    /// `section` empty means a value directly under the key.
    [[nodiscard]] QString readString(
        const QString& section, const QString& name, const QString& fallback) const;
    [[nodiscard]] int readInteger(const QString& section, const QString& name, int fallback) const;
    [[nodiscard]] bool readBool(const QString& section, const QString& name, bool fallback) const;

    void writeString(const QString& section, const QString& name, const QString& value);
    void writeInteger(const QString& section, const QString& name, int value);
    void writeBool(const QString& section, const QString& name, bool value);
    void remove(const QString& section, const QString& name);
    void removeSection(const QString& section);

    /// Writes what changed to disk. Returns why it failed, empty on success (and at once
    /// when the store is unusable, writing nothing).
    [[nodiscard]] QString sync();

private:
    [[nodiscard]] QString key(const QString& section, const QString& name) const;
    [[nodiscard]] bool usable() const { return m_unusable.name.empty(); }
    /// The text of the message `id` (one "%s": the file's path).
    [[nodiscard]] QString aboutThisFile(lang::ConstantId id) const;

    QString m_path;
    /// The name of the message that tells why the file is unusable; empty when usable.
    lang::ConstantId m_unusable;
    std::unique_ptr<QSettings> m_settings;
};

/// The default location of the settings file.
[[nodiscard]] QString defaultSettingsPath();

} // namespace quorvane::app
