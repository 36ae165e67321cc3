// The rows of the rename preview as a table: directory, name before, name after.
#include "preview_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include "qt_text.h"

#include "engine/rename_run.h"
#include "lang/added_texts.h"

#include <algorithm>
#include <limits>

namespace quorvane::app {

namespace {

// A light red that dark text stays readable on, whatever the palette.
const QColor kConflictBackground(255, 200, 200);
const QColor kConflictText(Qt::black);

/// Two thirds of the way from the background to the text: set apart, still easy to read.
QColor dimmedText()
{
    const QPalette palette = QGuiApplication::palette();
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Button); // the grid's background
    return QColor::fromRgbF((2 * text.redF() + base.redF()) / 3,
        (2 * text.greenF() + base.greenF()) / 3, (2 * text.blueF() + base.blueF()) / 3);
}

} // namespace

PreviewModel::PreviewModel(
    engine::UndoLog rows, std::vector<engine::PreviewMark> marks, QObject* parent)
    : QAbstractTableModel(parent)
    , m_rows(std::move(rows))
    , m_marks(std::move(marks))
    , m_headers { constantText(lang::id::DIRECTORY), constantText(lang::id::PRIMA),
        constantText(lang::id::DOPO) }
{
    const std::size_t count
        = std::min(m_rows.size(), static_cast<std::size_t>(std::numeric_limits<int>::max()));
    m_rowCount = static_cast<int>(count);
    // The view must never read past the marks, whatever the caller handed in.
    const std::size_t known = std::min(m_marks.size(), count);
    m_marks.resize(count);
    for (std::size_t i = known; i < count; ++i)
        m_marks[i] = { !m_rows.unchanged(i), false };
}

int PreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int PreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole)
        return cellText(text(index.row(), index.column()));
    return decoration(index.row(), index.column(), role);
}

QVariant PreviewModel::decoration(int row, int column, int role) const
{
    const engine::PreviewMark& m = mark(row);
    switch (role) {
    case Qt::FontRole:
        if (m.changed && column == NewNameColumn) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::ForegroundRole:
        if (m.conflict || m.refusal != 0)
            return QBrush(kConflictText);
        if (!m.changed)
            return QBrush(dimmedText());
        return {};
    case Qt::BackgroundRole:
        return m.conflict || m.refusal != 0 ? QVariant(QBrush(kConflictBackground)) : QVariant();
    case Qt::ToolTipRole:
        // A name that cannot be given at all: the reason the run's box would name.
        if (m.refusal != 0)
            return toQt(engine::retryCaption(platform::SysError { m.refusal, {} }));
        return m.conflict ? QVariant(conflictToolTip()) : QVariant();
    default:
        return {};
    }
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headers.at(static_cast<std::size_t>(section));
}

Qt::ItemFlags PreviewModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) & ~Qt::ItemIsEditable;
}

const engine::PreviewMark& PreviewModel::mark(int row) const
{
    return m_marks.at(static_cast<std::size_t>(row));
}

QString PreviewModel::cellText(std::u32string_view text)
{
    return text.empty() ? QStringLiteral(" ") : toDisplay(text);
}

QString PreviewModel::conflictToolTip()
{
    return toQt(lang::addedText(lang::added::NOME_IN_CONFLITTO));
}

std::u32string PreviewModel::text(int row, int column) const
{
    // Decoded for the rows on screen only: a preview of a million rows stays as compact
    // as the run's own log.
    const auto i = static_cast<std::size_t>(row);
    switch (column) {
    case DirectoryColumn:
        return m_rows.directory(i);
    case OldNameColumn:
        return m_rows.oldName(i);
    default:
        return m_rows.newName(i);
    }
}

} // namespace quorvane::app
