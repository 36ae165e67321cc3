// The main window's directory tree: the levels of the current path, then its subdirectories.
#include "directory_list_box.h"

#include "file_list_model.h"
#include "qt_text.h"

#include "platform/collator.h"
#include "platform/file_system.h"
#include "platform/name_codec.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace quorvane::app {

namespace {

using ItemKind = tDirectoryListBoxSpecial::ItemKind;

// One indent step and the margin before the first, in device-independent pixels. The list
// once stepped by 4 pixels beside 16-pixel images at 96 dpi; three times that keeps the
// levels apart at the sizes fonts and images have today.
constexpr int kIndentStep = 12;
constexpr int kIndentMargin = 6;

/// Collapses repeated "/" and drops a trailing one ("/" stays "/").
std::u32string normalizedPath(const std::u32string& dir)
{
    std::u32string out;
    out.reserve(dir.size());
    for (const char32_t c : dir) {
        if (c == U'/' && !out.empty() && out.back() == U'/')
            continue;
        out.push_back(c);
    }
    if (out.size() > 1 && out.back() == U'/')
        out.pop_back();
    return out;
}

/// Draws the items indented by their depth.
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(shifted.rect.left() + indentOf(index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    [[nodiscard]] QSize sizeHint(
        const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indentOf(index), 0);
    }

private:
    static int indentOf(const QModelIndex& index)
    {
        return kIndentMargin
            + kIndentStep * index.data(tDirectoryListBoxSpecial::DepthRole).toInt();
    }
};

/// `folder` with a dot at its bottom right, filled with `fill` and ringed with `ring`.
QPixmap markedFolder(const QIcon& folder, int size, const QColor& fill, const QColor& ring)
{
    QPixmap pixmap = folder.pixmap(QSize(size, size));
    const QSizeF logical = QSizeF(pixmap.size()) / pixmap.devicePixelRatio();
    const qreal diameter = logical.width() * 9 / 16;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ring, logical.width() / 16));
    painter.setBrush(fill);
    const QRectF dot(logical.width() - diameter, logical.height() - diameter, diameter, diameter);
    painter.drawEllipse(dot.adjusted(0.5, 0.5, -0.5, -0.5));
    return pixmap;
}

/// The open-folder image marked with a dot: the directory the list is in. The dot keeps its
/// contrast on a selected row too, where the highlight colour would vanish.
QIcon currentFolderIcon(const QIcon& openFolder, const QPalette& palette)
{
    QIcon icon;
    for (const int size : { 16, 24, 32, 48 }) {
        icon.addPixmap(markedFolder(openFolder, size, palette.color(QPalette::Highlight),
                           palette.color(QPalette::Base)),
            QIcon::Normal);
        icon.addPixmap(markedFolder(openFolder, size, palette.color(QPalette::HighlightedText),
                           palette.color(QPalette::Highlight)),
            QIcon::Selected);
    }
    return icon;
}

} // namespace

/// The items of the directory list: the current path's levels, then its subdirectories.
class DirectoryListModel : public QAbstractListModel
{
public:
    explicit DirectoryListModel(const platform::FileSystem& fileSystem)
        : m_fileSystem(fileSystem)
    { }

    /// Moves to `dir` (already normalized) and reads it.
    void setDirectory(std::u32string dir)
    {
        std::vector<std::u32string> subdirectories = readSubdirectories(dir);
        beginResetModel();
        m_directory = std::move(dir);
        splitLevels();
        m_subdirectories = std::move(subdirectories);
        endResetModel();
    }
    [[nodiscard]] const std::u32string& directory() const { return m_directory; }

    /// Reads the subdirectories of the current directory again.
    void reload()
    {
        std::vector<std::u32string> subdirectories = readSubdirectories(m_directory);
        beginResetModel();
        m_subdirectories = std::move(subdirectories);
        endResetModel();
    }

    void setIcons(std::array<QIcon, 3> icons)
    {
        m_icons = std::move(icons);
        if (rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1), { Qt::DecorationRole });
    }

    [[nodiscard]] int levelCount() const { return static_cast<int>(m_levels.size()); }
    [[nodiscard]] int subdirectoryCount() const
    {
        return static_cast<int>(m_subdirectories.size());
    }
    [[nodiscard]] const std::optional<platform::SysError>& readError() const { return m_error; }

    [[nodiscard]] std::u32string itemPath(int row) const
    {
        if (row < levelCount())
            return m_directory.substr(0, m_levels.at(static_cast<std::size_t>(row)).second);
        const std::u32string& name = subdirectory(row);
        return m_directory == U"/" ? U"/" + name : m_directory + U"/" + name;
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : levelCount() + subdirectoryCount();
    }

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const int row = index.row();
        switch (role) {
        case Qt::DisplayRole:
            return toDisplay(itemName(row));
        case Qt::ToolTipRole:
            return toDisplay(itemPath(row));
        case Qt::DecorationRole:
            return m_icons.at(static_cast<std::size_t>(kindOf(row)));
        case tDirectoryListBoxSpecial::KindRole:
            return static_cast<int>(kindOf(row));
        case tDirectoryListBoxSpecial::DepthRole:
            return std::min(row, levelCount());
        default:
            return {};
        }
    }

private:
    [[nodiscard]] ItemKind kindOf(int row) const
    {
        if (row < levelCount() - 1)
            return tDirectoryListBoxSpecial::Level;
        return row == levelCount() - 1 ? tDirectoryListBoxSpecial::Current
                                       : tDirectoryListBoxSpecial::Subdirectory;
    }

    [[nodiscard]] const std::u32string& subdirectory(int row) const
    {
        return m_subdirectories.at(static_cast<std::size_t>(row - levelCount()));
    }

    [[nodiscard]] std::u32string itemName(int row) const
    {
        if (row >= levelCount())
            return subdirectory(row);
        const auto [begin, end] = m_levels.at(static_cast<std::size_t>(row));
        return m_directory.substr(begin, end - begin);
    }

    /// Each level as [begin, end) in m_directory; the root level is the leading "/".
    void splitLevels()
    {
        m_levels.clear();
        std::size_t begin = 0;
        if (m_directory.starts_with(U'/')) {
            m_levels.emplace_back(0, 1);
            begin = 1;
        }
        while (begin < m_directory.size()) {
            const std::size_t end = std::min(m_directory.find(U'/', begin), m_directory.size());
            m_levels.emplace_back(begin, end);
            begin = end + 1;
        }
    }

    /// The subdirectories of `dir`, sorted; none when it cannot be read (m_error says why).
    std::vector<std::u32string> readSubdirectories(const std::u32string& dir)
    {
        std::vector<std::u32string> names;
        m_error.reset();
        if (dir.empty())
            return names;
        const std::string bytes = platform::encodeName(dir);
        if (m_fileSystem.certainlyHasNoSubdirectories(bytes))
            return names;
        // Entry by entry: a directory of a million files must not cost a million entries in
        // memory to find its few subdirectories. Every directory, hidden ones too; the kind
        // is the entry's own, so a symbolic link to a directory is not one (the rename run
        // never descends through links either).
        const platform::Status read = m_fileSystem.visitDirectory(
            bytes, platform::Detail::KindOnly, [&names](const platform::DirEntry& entry) {
                if (entry.kind == platform::EntryKind::Directory)
                    names.push_back(platform::decodeName(entry.name));
            });
        if (!read.ok()) {
            m_error = read.error();
            names.clear();
            return names;
        }
        sortByCollation(names, m_collator);
        return names;
    }

    const platform::FileSystem& m_fileSystem;
    platform::Collator m_collator;
    std::u32string m_directory;
    std::vector<std::pair<std::size_t, std::size_t>> m_levels;
    std::vector<std::u32string> m_subdirectories;
    std::array<QIcon, 3> m_icons;
    std::optional<platform::SysError> m_error;
};

tDirectoryListBoxSpecial::tDirectoryListBoxSpecial(
    const platform::FileSystem& fileSystem, QWidget* parent)
    : tDirectoryListBoxSpecial(new DirectoryListModel(fileSystem), parent)
{ }

tDirectoryListBoxSpecial::tDirectoryListBoxSpecial(DirectoryListModel* model, QWidget* parent)
    : QListView(parent)
    , m_model(model)
{
    m_model->setParent(this);
    setModel(m_model);
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    loadIcons();
}

tDirectoryListBoxSpecial::~tDirectoryListBoxSpecial() = default;

void tDirectoryListBoxSpecial::setDirectory(const std::u32string& dir)
{
    m_model->setDirectory(normalizedPath(dir));
    selectCurrentItem();
}

const std::u32string& tDirectoryListBoxSpecial::directory() const
{
    return m_model->directory();
}

void tDirectoryListBoxSpecial::update()
{
    m_model->reload();
    selectCurrentItem();
}

int tDirectoryListBoxSpecial::subdirectoryCount() const
{
    return m_model->subdirectoryCount();
}

std::u32string tDirectoryListBoxSpecial::itemPath(int row) const
{
    return m_model->itemPath(row);
}

void tDirectoryListBoxSpecial::openItem(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const std::u32string path = m_model->itemPath(row);
    const bool moves = path != m_model->directory();
    setDirectory(path);
    if (moves)
        emit directoryChanged();
}

const std::optional<platform::SysError>& tDirectoryListBoxSpecial::readError() const
{
    return m_model->readError();
}

void tDirectoryListBoxSpecial::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentIndex().isValid()) {
            openItem(currentIndex().row());
            event->accept();
            return;
        }
    }
    QListView::keyPressEvent(event);
}

void tDirectoryListBoxSpecial::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    // The base class emits doubleClicked() first, so the window's own handler runs before
    // the list moves.
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && index.isValid())
        openItem(index.row());
}

void tDirectoryListBoxSpecial::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange)
        loadIcons();
}

void tDirectoryListBoxSpecial::loadIcons()
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon, nullptr, this);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon, nullptr, this);
    m_model->setIcons({ open, currentFolderIcon(open, palette()), closed });
}

void tDirectoryListBoxSpecial::selectCurrentItem()
{
    const QModelIndex current = m_model->index(m_model->levelCount() - 1);
    setCurrentIndex(current);
    if (current.isValid())
        scrollTo(current);
}

} // namespace quorvane::app
