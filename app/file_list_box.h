// The main window's file list: the entries of the current directory that match the mask.
#pragma once

#include "platform/sys_error.h"

#include <QListView>

#include <optional>
#include <string>
#include <vector>

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

class FileListModel;

/// A list of the non-directory entries of one directory that match a mask (see
/// FileListModel), with multiple selection. It never shows a message box: a directory that
/// cannot be read lists nothing and readError() says why. Names are the real ones (code
/// points carrying every byte); only the display turns undecodable bytes into U+FFFD.
/// Directories are read in the background: the list arrives after setDirectory, setMask and
/// update return, announced by listChanged; isLoading() says whether a read is pending.
class FileListBox : public QListView
{
    Q_OBJECT

public:
    /// Reads through `fileSystem`, which must outlive the list.
    explicit FileListBox(const platform::FileSystem& fileSystem, QWidget* parent = nullptr);
    ~FileListBox() override;

    /// Lists `dir` (absolute, "/"-separated) with the current mask; nothing stays selected. The
    /// list is empty until the new one arrives.
    void setDirectory(const std::u32string& dir);
    [[nodiscard]] const std::u32string& directory() const;

    /// Lists the current directory again with `mask` (default "*.*"); nothing stays selected.
    void setMask(const std::u32string& mask);
    [[nodiscard]] const std::u32string& mask() const;

    /// Reads the directory again; the current list shows until the new one arrives. The names
    /// selected when it arrives that still exist stay selected and the focused entry stays focused
    /// if it still exists. (Hides QWidget::update(); the other update overloads still repaint.)
    void update();
    using QListView::update;

    /// True while a read is on its way: count() and the names are still the older list.
    [[nodiscard]] bool isLoading() const;

    /// Why the last read failed; nullopt after a successful read.
    [[nodiscard]] const std::optional<platform::SysError>& readError() const;

    /// The number of entries listed.
    [[nodiscard]] int count() const;
    /// The real name of row `row` (0 <= row < count()).
    [[nodiscard]] std::u32string name(int row) const;
    /// The selected entries' names, in the list's order.
    [[nodiscard]] std::vector<std::u32string> selectedNames() const;
    /// The focused entry's name; empty when no entry has the focus.
    [[nodiscard]] std::u32string focusedName() const;
    /// Makes row `row` the focused entry without changing the selection; -1 for none.
    void setFocusedRow(int row);

    // clearSelection() is QAbstractItemView's: it deselects all and keeps the focus.

signals:
    /// A read started (setDirectory, setMask, update); the list is loading.
    void loadingStarted();
    /// The newest read's list is in place (after setDirectory, setMask, update). A read superseded
    /// by a newer one before it finished announces nothing.
    void listChanged();
    /// The focused entry changed (a click, the keyboard, setFocusedRow, a read).
    void focusChanged();

private:
    FileListBox(FileListModel* model, QWidget* parent);
    void keepSelection();
    void restoreSelection();

    FileListModel* m_model;
    /// Whether the read on its way should keep the selection (update) or not (a new directory or
    /// mask).
    bool m_keepSelection = false;
    /// The selection and the focused entry as the list was about to be replaced, as bytes.
    std::vector<std::string> m_selected;
    std::string m_focused;
};

} // namespace quorvane::app
