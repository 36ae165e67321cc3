// The save-settings dialog: which settings are saved, when, and removing them.
#pragma once

#include "stored_settings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::app {

/// "Salva Impostazioni". Every control edits `flags` the moment it changes; the dialog has
/// no cancel. "Salva adesso" calls `saveNow`; "Rimuovi Impostazioni dal registro" removes
/// the stored values from `store`. Write failures are told through `prompts`.
class TAvanzate final : public QDialog
{
    Q_OBJECT
public:
    TAvanzate(SettingsFlags& flags, SettingsStore& store, std::function<void()> saveNow,
        engine::Prompts& prompts, QWidget* parent);

    // Handlers, named as the program names them.
    void FormShow();
    void UpdateSaveControls();
    void Button1Click(); ///< "Salva adesso"
    void Button2Click(); ///< "Rimuovi Impostazioni dal registro"

private:
    void createControls();
    QCheckBox* flagBox(
        const char* name, const char* caption, const char* hint, bool SettingsFlags::*flag);

    SettingsFlags& m_flags;
    SettingsStore& m_store;
    std::function<void()> m_saveNow;
    engine::Prompts& m_prompts;

    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace quorvane::app
