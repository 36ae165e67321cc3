// The option column of the main window and the menu items that set rename options.
#pragma once

#include "settings/stored_settings.h"

#include "engine/rename_options.h"
#include "engine/run_scope.h"

#include <QFrame>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::app {

/// The menu items that are rename options. The window's menus own them; the option panel
/// reads them into the run's options and switches the one-run items off after a run.
struct OptionItems
{
    QAction* Rinominainformato831 = nullptr;
    QAction* NumerazioneFiles1 = nullptr;
    QAction* EliminaNumerazioneFiles1 = nullptr;
    QAction* SostSeqCar1 = nullptr;
    QAction* EliminaSequenzaCaratteri1 = nullptr;
    QAction* RinominadaFile1 = nullptr;
    QAction* RinominadaCDDB1 = nullptr;
    QAction* Gestiscilettereaccentate1 = nullptr;
    QAction* dosnames1 = nullptr;
    QAction* Compattaspazivuoti1 = nullptr;
    QAction* Noneliminaredellestensione1 = nullptr;
};

/// Panel1: the attribute, directory, capital and dash options with the rules that tie them
/// together. It is the one place where the window's controls become the engine's options
/// and run scope, and where a run's outcome is shown back on them.
class OptionsPanel final : public QFrame
{
    Q_OBJECT
public:
    OptionsPanel(engine::Prompts& prompts, const OptionItems& items, QWidget* parent);

    /// The options the rules read, as the controls and the menu items stand now.
    [[nodiscard]] engine::RenameOptions renameOptions() const;
    /// The scope's directory, recursion and attribute words as the controls stand now; the
    /// caller adds the directory, the mask and the selection.
    [[nodiscard]] engine::RunScope scopeOptions() const;
    /// Shows what a run left of its scope (the run may switch the directory options off).
    void applyScope(const engine::RunScope& scope);
    /// Shows the one-run items as the run left them (switched off).
    void applyOneRunItems(const engine::RenameOptions& options);
    /// "Le Directory" and "I files nelle Sottodirectory" enabled or not: the modes that
    /// work on the files of one directory hold them while they are armed.
    void enableDirectoryBoxes(bool enabled);
    /// Both directory boxes unchecked.
    void clearDirectoryBoxes();
    /// The column as the settings file stores it.
    [[nodiscard]] BasicOptions basicOptions() const;
    /// Puts stored options into the column; each control's own rule runs as after a click.
    void applyBasicOptions(const BasicOptions& options);
    /// The capital rules as the window first shows them.
    void FormShow();

    // Handlers, named as the program names them.
    void ComboBox1Change();
    void CheckBox6Click();
    void CheckBox5Click();
    void ChkAttr();

private:
    void createAttributeBoxes();
    void createDirectoryBoxes();
    void createCapitalBoxes();
    void connectSignals();

    engine::Prompts& m_prompts;
    OptionItems m_items;

    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
};

} // namespace quorvane::app
