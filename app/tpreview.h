// The rename preview window: every entry of a dry run with its name before and after.
#pragma once

#include <QDialog>

#include "engine/preview_marks.h"
#include "engine/run_state.h"

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

    [[nodiscard]] PreviewModel* model() const { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormShow();
    void FormResize();
    void spreadColumns();

    PreviewModel* m_model = nullptr;
    QTableView* StringGrid1 = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    bool m_centred = false;
};

} // namespace quorvane::app
