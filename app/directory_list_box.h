// The main window's directory tree: the levels of the current path, then its subdirectories.
#pragma once

#include "platform/sys_error.h"

#include <QListView>

#include <optional>
#include <string>

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

class DirectoryListModel;

/// A directory list: one item per level of the current directory's path ("/" first, each
/// level indented one step more than the one above), then every subdirectory of the current
/// directory one step deeper, hidden ones included, sorted case-insensitively in the user's
/// collation. Symbolic links are not subdirectories. Levels above show an open folder, the
/// current directory a highlighted open folder, subdirectories a closed folder. A double
/// click or Enter on an item moves to that item's path. A directory that cannot be read
/// shows its levels and no subdirectories; the list never shows a message box.
class tDirectoryListBoxSpecial : public QListView
{
    Q_OBJECT

public:
    /// What an item stands for; also the value of KindRole.
    enum ItemKind { Level, Current, Subdirectory };
    /// Item data beyond the display text and the image.
    enum Role {
        KindRole = Qt::UserRole + 1, ///< ItemKind
        DepthRole, ///< indent steps: a level's index; the current depth + 1 for a subdirectory
    };

    /// Reads through `fileSystem`, which must outlive the list. Lists nothing until
    /// setDirectory().
    explicit tDirectoryListBoxSpecial(
        const platform::FileSystem& fileSystem, QWidget* parent = nullptr);
    ~tDirectoryListBoxSpecial() override;

    /// Moves to `dir`, an absolute "/"-separated path (repeated and trailing "/" are
    /// ignored), and lists it (again, when it is the current one). Emits nothing: the caller
    /// knows it moved the list.
    void setDirectory(const std::u32string& dir);
    /// The current directory: no trailing "/" except for "/" itself; empty before the first
    /// setDirectory().
    [[nodiscard]] const std::u32string& directory() const;

    /// Reads the current directory's subdirectories again; emits nothing. (Hides
    /// QWidget::update(); the other update overloads still repaint.)
    void update();
    using QListView::update;

    /// The number of subdirectory items.
    [[nodiscard]] int subdirectoryCount() const;
    /// The path that opening item `row` moves to (0 <= row < model()->rowCount()).
    [[nodiscard]] std::u32string itemPath(int row) const;
    /// Moves to item `row`'s path, as a double click or Enter on it does; emits
    /// directoryChanged() when that is not the current directory.
    void openItem(int row);

    /// Why the last reading of subdirectories failed; nullopt after a successful one.
    [[nodiscard]] const std::optional<platform::SysError>& readError() const;

signals:
    /// The user moved the list to another directory by opening an item; directory() tells
    /// which. A double click also emits doubleClicked() first.
    void directoryChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    tDirectoryListBoxSpecial(DirectoryListModel* model, QWidget* parent);
    void loadIcons();
    void selectCurrentItem();

    DirectoryListModel* m_model;
};

} // namespace quorvane::app
