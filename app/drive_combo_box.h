// The main window's drive list: the mounted volumes, shown by their roots.
#pragma once

#include <QComboBox>

#include <string>
#include <vector>

class QStorageInfo;

namespace quorvane::app {

/// The mounted volumes that hold files (pseudo file systems such as proc or sysfs left
/// out), one item per root path, sorted by root. A root is "/" or a mount point.
class DriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    /// Lists the volumes mounted now; nothing is selected until setDirectory().
    explicit DriveComboBox(QWidget* parent = nullptr);

    /// Selects the volume that holds `dir` (absolute, "/"-separated): the one whose root is
    /// the longest whole-component prefix of it. Emits no driveChosen().
    void setDirectory(const std::u32string& dir);

    /// The selected volume's root ("/", "/home" ...); empty when none is selected.
    [[nodiscard]] std::u32string currentRoot() const;

    /// The roots listed, in the list's order.
    [[nodiscard]] const std::vector<std::u32string>& roots() const { return m_roots; }

    /// Reads the mounted volumes again, keeping the selected root when it is still mounted.
    /// Also done each time the user opens the list.
    void refreshVolumes();

    /// True for the file systems that hold no user files (proc, sysfs, cgroup2 ...).
    [[nodiscard]] static bool isPseudoFileSystem(const QByteArray& type);

    /// True when `root` is `dir` or one of its parent directories.
    [[nodiscard]] static bool rootHolds(const std::u32string& root, const std::u32string& dir);

    void showPopup() override;

signals:
    /// The user picked a volume other than the selected one; currentRoot() tells which.
    void driveChosen();

private:
    void onActivated(int index);
    void selectRoot(const std::u32string& root);

    std::vector<std::u32string> m_roots;
    std::u32string m_selectedRoot;
};

} // namespace quorvane::app
