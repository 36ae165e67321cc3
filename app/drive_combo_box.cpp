// The main window's drive list: the mounted volumes, shown by their roots.
#include "drive_combo_box.h"

#include "qt_text.h"

#include "platform/name_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <array>

namespace quorvane::app {

namespace {

struct Volume
{
    std::u32string root;
    QString label;
};

bool isKernelTree(const QString& root)
{
    const QString trees[] = { QStringLiteral("/proc"), QStringLiteral("/sys") };
    return std::ranges::any_of(
        trees, [&](const QString& tree) { return root == tree || root.startsWith(tree + u'/'); });
}

std::vector<Volume> mountedVolumes()
{
    std::vector<Volume> volumes;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid() || !info.isReady()
            || DriveComboBox::isPseudoFileSystem(info.fileSystemType()))
            continue;
        const QString rootPath = info.rootPath();
        // Files bind-mounted into a container are mounts too, but nothing to browse; so are
        // the kernel's own trees whatever file system they carry.
        if (!QFileInfo(rootPath).isDir() || isKernelTree(rootPath))
            continue;
        std::u32string root = platform::decodeName(QFile::encodeName(rootPath).toStdString());
        // A volume mounted over another at the same place is listed once.
        const bool listed = std::ranges::any_of(
            volumes, [&](const Volume& volume) { return volume.root == root; });
        if (!listed)
            volumes.push_back({ std::move(root), info.name() });
    }
    std::ranges::sort(volumes, {}, &Volume::root);
    return volumes;
}

QString volumeText(const Volume& volume)
{
    // The label tells two removable volumes apart; most Linux mounts have none.
    const QString root = toDisplay(volume.root);
    return volume.label.isEmpty() ? root : root + QStringLiteral("  [") + volume.label + u']';
}

} // namespace

DriveComboBox::DriveComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    refreshVolumes();
    setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, &DriveComboBox::onActivated);
}

bool DriveComboBox::isPseudoFileSystem(const QByteArray& type)
{
    static const std::array<QByteArrayView, 19> pseudo = { "proc", "sysfs", "devpts", "devtmpfs",
        "mqueue", "tracefs", "debugfs", "securityfs", "pstore", "bpf", "configfs", "fusectl",
        "hugetlbfs", "autofs", "binfmt_misc", "efivarfs", "nsfs", "rpc_pipefs", "selinuxfs" };
    return type.startsWith("cgroup")
        || std::ranges::find(pseudo, QByteArrayView(type)) != pseudo.end();
}

bool DriveComboBox::rootHolds(const std::u32string& root, const std::u32string& dir)
{
    if (root.empty() || !dir.starts_with(root))
        return false;
    // "/mnt/a" holds "/mnt/a/x" but not "/mnt/ab".
    return dir.size() == root.size() || root.back() == U'/' || dir[root.size()] == U'/';
}

void DriveComboBox::setDirectory(const std::u32string& dir)
{
    const auto longestRoot = [&] {
        std::u32string best;
        for (const std::u32string& root : m_roots) {
            if (rootHolds(root, dir) && root.size() > best.size())
                best = root;
        }
        return best;
    };
    std::u32string root = longestRoot();
    if (root.empty()) {
        // Perhaps mounted since the list was read.
        refreshVolumes();
        root = longestRoot();
    }
    selectRoot(root);
}

std::u32string DriveComboBox::currentRoot() const
{
    const int index = currentIndex();
    return index < 0 ? std::u32string() : m_roots.at(static_cast<std::size_t>(index));
}

void DriveComboBox::refreshVolumes()
{
    const std::u32string selected = m_selectedRoot;
    const std::vector<Volume> volumes = mountedVolumes();
    clear();
    m_roots.clear();
    for (const Volume& volume : volumes) {
        addItem(volumeText(volume));
        m_roots.push_back(volume.root);
    }
    selectRoot(selected);
}

void DriveComboBox::showPopup()
{
    refreshVolumes();
    QComboBox::showPopup();
}

void DriveComboBox::onActivated(int index)
{
    const std::u32string root = m_roots.at(static_cast<std::size_t>(index));
    if (root == m_selectedRoot)
        return;
    m_selectedRoot = root;
    emit driveChosen();
}

void DriveComboBox::selectRoot(const std::u32string& root)
{
    const auto found = std::ranges::find(m_roots, root);
    const bool listed = !root.empty() && found != m_roots.end();
    m_selectedRoot = listed ? root : std::u32string();
    setCurrentIndex(listed ? static_cast<int>(found - m_roots.begin()) : -1);
}

} // namespace quorvane::app
