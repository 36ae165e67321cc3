// The main window's file list: the entries of the current directory that match the mask.
#include "file_list_box.h"

#include "file_list_model.h"

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
}

FileListBox::~FileListBox() = default;

void FileListBox::setDirectory(const std::u32string& dir)
{
    m_model->setDirectory(dir);
    emit listChanged();
}

const std::u32string& FileListBox::directory() const
{
    return m_model->directory();
}

void FileListBox::setMask(const std::u32string& mask)
{
    m_model->setMask(mask);
    emit listChanged();
}

const std::u32string& FileListBox::mask() const
{
    return m_model->mask();
}

void FileListBox::update()
{
    const std::vector<std::u32string> selected = selectedNames();
    const std::u32string focused = focusedName();
    m_model->reload();
    reselect(selected, focused);
    emit listChanged();
}

const std::optional<platform::SysError>& FileListBox::readError() const
{
    return m_model->readError();
}

int FileListBox::count() const
{
    return m_model->count();
}

const std::u32string& FileListBox::name(int row) const
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

void FileListBox::reselect(
    const std::vector<std::u32string>& selected, const std::u32string& focused)
{
    const std::unordered_set<std::u32string> wanted(selected.begin(), selected.end());
    // Runs of adjacent rows become one range, so selecting a large block stays cheap.
    QItemSelection selection;
    int runStart = -1;
    const int rows = m_model->count();
    for (int row = 0; row <= rows; ++row) {
        const bool isWanted = row < rows && wanted.contains(m_model->name(row));
        if (isWanted && runStart < 0) {
            runStart = row;
        } else if (!isWanted && runStart >= 0) {
            selection.select(m_model->index(runStart, 0), m_model->index(row - 1, 0));
            runStart = -1;
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);

    if (focused.empty())
        return;
    for (int row = 0; row < rows; ++row) {
        if (m_model->name(row) == focused) {
            setFocusedRow(row);
            return;
        }
    }
}

} // namespace quorvane::app
