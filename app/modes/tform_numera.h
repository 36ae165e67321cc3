// The numbering dialog: the layout of the new names, the digits, the start and the step.
#pragma once

#include "engine/run_state.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class QToolButton;

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::app {

/// "Numerazione Progressiva Files". Edits the layout, digits, start and step of `state`
/// when it closes, by either button; OK keeps the numbering item `numbering` armed (with a
/// layout) and disarms the removal item `removal`, Cancel disarms numbering. A start value
/// or step that is no 32-bit integer is reported and keeps the dialog open on OK. With
/// `orderFixed` (the files already stand in a list's order) no order of their own is offered.
class TFormNumera final : public QDialog
{
    Q_OBJECT
public:
    TFormNumera(engine::RunState& state, engine::Prompts& prompts, QAction& numbering,
        QAction& removal, QWidget* parent, bool orderFixed = false);

    void accept() override; ///< OKBtn
    void reject() override; ///< CancelBtn, Escape and the window's close button

    // Handlers, named as the program names them.
    void Addlistbox(); ///< adds the selected element of ListBox2
    void SpeedButton1Click(); ///< up
    void SpeedButton3Click(); ///< down
    void SpeedButton2Click(); ///< delete
    void SpBref(); ///< the button states
    void numera_on(); ///< the digit controls
    void ShowNCifre(); ///< the digit label and the example
    void example();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void connectSignals();
    /// The closing sequence; false when a field was refused and the dialog must stay.
    [[nodiscard]] bool finishEditing(bool ok);
    [[nodiscard]] engine::NumberingLayout layout() const;
    void addElement(const engine::LayoutElement& element);
    void swapWithRow(int offset);

    engine::RunState& m_state;
    engine::Prompts& m_prompts;
    QAction& m_numbering;
    QAction& m_removal;

    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
};

} // namespace quorvane::app
