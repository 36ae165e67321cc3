// The settings file, used the way the program once used its registry key: sections of
// string values, booleans as "1"/"0", integers as decimal text.
#pragma once

#include "settings_text.h"

#include "lang/constant_id.h"

#include <QString>

#include <vector>

namespace quorvane::app {

/// One settings file ($XDG_CONFIG_HOME/Quorvane/Quorvane.ini). Values are plain strings,
/// read back exactly as they were written, lone surrogates (the carried bytes of a name that
/// is not UTF-8) included; the file's spelling of them is SettingsText's. Reading never
/// fails: a missing or malformed value gives the default. A file that cannot be read as
/// settings (corrupt, unreadable, a directory) makes the store unusable: the program then
/// starts with defaults and never writes, so the user's file is not replaced by values they
/// did not choose. A write reaches the disk atomically (a whole new file renamed over the
/// old one) under a lock shared with other instances, and carries only this store's changes
/// into the file as it is then, so two instances do not undo each other's values.
class SettingsStore
{
public:
    /// The store at `path`; the default path when empty.
    explicit SettingsStore(const QString& path = {});
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    [[nodiscard]] const QString& path() const { return m_path; }
    /// Why the file cannot be used; empty when it can.
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
    /// when the store is unusable, writing nothing; also when the file has become one that
    /// cannot be used since it was read).
    [[nodiscard]] QString sync();

private:
    /// One change not yet written, to be carried into the file as it is when writing.
    struct Change
    {
        enum class Kind { Set, Remove, RemoveSection };
        Kind kind;
        QString section;
        QString name;
        QString spelled;
    };
    static void apply(SettingsText& text, const Change& change);
    void change(Change change);
    [[nodiscard]] QString write(const QByteArray& text) const;
    [[nodiscard]] bool usable() const { return m_unusable.name.empty(); }
    /// The text of the message `id` (one "%s": the file's path).
    [[nodiscard]] QString aboutThisFile(lang::ConstantId id) const;

    QString m_path;
    /// The name of the message that tells why the file is unusable; empty when usable.
    lang::ConstantId m_unusable;
    SettingsText m_text; ///< the file as read, with the changes applied
    std::vector<Change> m_changes;
};

/// The default location of the settings file.
[[nodiscard]] QString defaultSettingsPath();

} // namespace quorvane::app
