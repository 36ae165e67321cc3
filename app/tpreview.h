// The rename preview window: every entry of a dry run with its name before and after.
#pragma once

#include <QDialog>

#include "engine/preview_marks.h"
#include "engine/run_state.h"

#include <array>
#include <vector>

class QPushButton;
class QTableView;
class QWidget;

namespace quorvane::app {

class PreviewModel;

/// The modal preview of a run: a grid of directory, old name and new name, one row per
/// entry in run order, with changes and collisions marked. Closing with "Chiudi" accepts.
class TPreview : public QDialog
{
    Q_OBJECT

public:
    /// Shows `rows` with `marks` (index-aligned, see markPreviewRows).
    TPreview(
        engine::UndoLog rows, std::vector<engine::PreviewMark> marks, QWidget* parent = nullptr);

    /// The width every column gets in a window `windowWidth` pixels wide.
    [[nodiscard]] static int columnWidthFor(int windowWidth);
    /// The widths of the three columns in a window `windowWidth` pixels wide whose texts
    /// need `wanted` pixels: the one width of columnWidthFor while every text fits it;
    /// otherwise the names come first, the directory giving way down to a fifth of the
    /// width, and a name that needs less than half of theirs leaves the rest to the other.
    [[nodiscard]] static std::array<int, 3> columnWidthsFor(
        int windowWidth, std::array<int, 3> wanted);

    [[nodiscard]] PreviewModel* model() const { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormShow();
    void FormResize();
    void spreadColumns();
    /// What the texts of `column` need: its header and its first rows.
    [[nodiscard]] int wantedWidth(int column) const;

    PreviewModel* m_model = nullptr;
    QTableView* StringGrid1 = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    bool m_centred = false;
};

} // namespace quorvane::app
