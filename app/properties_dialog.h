// The program's own read-only properties of one entry, for desktops without a file manager.
#pragma once

#include "platform/file_system.h"

#include <QDialog>

#include <string>

namespace quorvane::app {

/// Name, folder, size, dates, permissions and DOS attributes of one entry; nothing editable.
class PropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    /// `path` is the entry's full path (its real name, every byte kept).
    PropertiesDialog(
        const platform::FileSystem& fs, const std::u32string& path, QWidget* parent = nullptr);

    /// The permission bits as "rwxr-xr-x".
    [[nodiscard]] static QString permissionText(unsigned mode);
    /// The attribute bits as the letters R, H, S, A of the ones set, or "-".
    [[nodiscard]] static QString attributeText(std::uint32_t attributes);
};

} // namespace quorvane::app
