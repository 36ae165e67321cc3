// The main window's file list: the entries of the current directory that match the mask.
#include "file_list_box.h"

#include "file_list_model.h"

#include "platform/name_codec.h"

#include <QItemSelection>

#include <algorithm>
#include <unordered_set>

namespace quorvane::app {

FileListBox::FileListBox(const platform::FileSystem& fileSystem, QWidget* parent)
    : FileListBox(new FileListModel(fileSystem), parent)
{ }

FileListBox::FileListBox(FileListModel* model, QWidget* parent)
    : QListView(parent)
    , m_model(model)
{
    m_model->setParent(this);
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of one height let the view lay out 100,000 names without measuring each.
    setUniformItemSizes(true);
    connect(
        selectionModel(), &QItemSelectionModel::currentChanged, this, &FileListBox::focusChanged);
    connect(m_model, &FileListModel::loadingStarted, this, [this] {
        setCursor(Qt::BusyCursor);
        emit loadingStarted();
    });
    connect(m_model, &FileListModel::listAboutToArrive, this, &FileListBox::keepSelection);
    connect(m_model, &FileListModel::listArrived, this, [this] {
        unsetCursor();
        restoreSelection();
        emit listChanged();
    });
}

FileListBox::~FileListBox() = default;

void FileListBox::setDirectory(const std::u32string& dir)
{
    m_keepSelection = false;
    m_model->setDirectory(dir);
}

const std::u32string& FileListBox::directory() const
{
    return m_model->directory();
}

void FileListBox::setMask(const std::u32string& mask)
{
    m_keepSelection = false;
    m_model->setMask(mask);
}

const std::u32string& FileListBox::mask() const
{
    return m_model->mask();
}

void FileListBox::update()
{
    // After a new directory or mask still on its way this keeps the emptied list's empty selection,
    // which is what that change asked for.
    m_keepSelection = true;
    m_model->reload();
}

bool FileListBox::isLoading() const
{
    return m_model->isLoading();
}

const std::optional<platform::SysError>& FileListBox::readError() const
{
    return m_model->readError();
}

int FileListBox::count() const
{
    return m_model->count();
}

std::u32string FileListBox::name(int row) const
{
    return m_model->name(row);
}

std::vector<std::u32string> FileListBox::selectedNames() const
{
    // The ranges come in the order they were selected; the run wants the list's order.
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    std::vector<std::u32string> names;
    names.reserve(rows.size());
    for (const int row : rows)
        names.push_back(m_model->name(row));
    return names;
}

std::u32string FileListBox::focusedName() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->name(current.row()) : std::u32string();
}

void FileListBox::setFocusedRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void FileListBox::keepSelection()
{
    // Taken as the list is replaced, not when the read started: the user may have changed the
    // selection while it was on its way.
    m_selected.clear();
    m_focused.clear();
    if (!m_keepSelection)
        return;
    for (const std::u32string& name : selectedNames())
        m_selected.push_back(platform::encodeName(name));
    m_focused = platform::encodeName(focusedName());
}

void FileListBox::restoreSelection()
{
    const bool keep = m_keepSelection;
    m_keepSelection = false;
    if (!keep || (m_selected.empty() && m_focused.empty()))
        return;
    const std::unordered_set<std::string> wanted(m_selected.begin(), m_selected.end());
    // Runs of adjacent rows become one range, so selecting a large block stays cheap.
    QItemSelection selection;
    int runStart = -1;
    int focusedRow = -1;
    const int rows = m_model->count();
    for (int row = 0; row <= rows; ++row) {
        bool isWanted = false;
        if (row < rows) {
            const std::string_view bytes = m_model->nameBytes(row);
            isWanted = !wanted.empty() && wanted.contains(std::string(bytes));
            if (focusedRow < 0 && !m_focused.empty() && bytes == m_focused)
                focusedRow = row;
        }
        if (isWanted && runStart < 0) {
            runStart = row;
        } else if (!isWanted && runStart >= 0) {
            selection.select(m_model->index(runStart, 0), m_model->index(row - 1, 0));
            runStart = -1;
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (focusedRow >= 0)
        setFocusedRow(focusedRow);
    m_selected.clear();
    m_focused.clear();
}

} // namespace quorvane::app
