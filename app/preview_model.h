// The rows of the rename preview as a table: directory, name before, name after.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include "engine/preview_marks.h"
#include "engine/run_state.h"

#include <array>
#include <vector>

namespace quorvane::app {

/// A read-only table over preview rows and their marks. Changed names are bold, unchanged
/// rows are dimmed, rows whose new name is taken get a red background and a tooltip. Texts
/// are converted only when the view asks, so a hundred thousand rows cost nothing up front.
class PreviewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { DirectoryColumn, OldNameColumn, NewNameColumn, ColumnCount };

    /// Takes the rows and their marks (index-aligned; missing marks are computed as
    /// "changed when the names differ", without conflicts). The header texts are the
    /// constants in force now.
    PreviewModel(
        engine::UndoLog rows, std::vector<engine::PreviewMark> marks, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(
        int section, Qt::Orientation orientation, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// The mark of a row (row within rowCount()).
    [[nodiscard]] const engine::PreviewMark& mark(int row) const;

    /// What a cell shows for a text: the text for display, a single space for an empty one.
    [[nodiscard]] static QString cellText(std::u32string_view text);

    /// The tooltip of a row whose new name is taken.
    [[nodiscard]] static QString conflictToolTip();

private:
    [[nodiscard]] std::u32string text(int row, int column) const;
    [[nodiscard]] QVariant decoration(int row, int column, int role) const;

    engine::UndoLog m_rows;
    std::vector<engine::PreviewMark> m_marks;
    std::array<QString, ColumnCount> m_headers;
    int m_rowCount = 0;
};

} // namespace quorvane::app
