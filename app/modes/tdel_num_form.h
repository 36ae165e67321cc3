// The dialog of removing numbering: how long a digit run must be, and which separator goes.
#pragma once

#include "engine/run_state.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace quorvane::app {

/// "Elimina Numerazione". The slider sets NumDigits of `state` at once (Cancel keeps it);
/// OK sets the mode and the leading-only flag and disarms numbering (`numbering`); Cancel
/// and the window's close button disarm the removal (`removal`).
class TDelNumForm final : public QDialog
{
    Q_OBJECT
public:
    TDelNumForm(engine::RunState& state, QAction& numbering, QAction& removal, QWidget* parent);

    void accept() override; ///< OKBtnClick
    void reject() override; ///< CancelBtnClick

    // Handlers, named as the program names them.
    void TrackBar1Change();
    void aggiorna_radionum();

private:
    void createControls();

    engine::RunState& m_state;
    QAction& m_numbering;
    QAction& m_removal;

    QLabel* Label1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
};

} // namespace quorvane::app
