// The print-options window: every listing option, mirrored the moment it is clicked.
#pragma once

#include "engine/listing_builder.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorvane::app {

class ListingCommands;

/// The listing options as check boxes. There is no Cancel: every click writes its option
/// at once, and "Chiudi" only closes. The buttons preview, print, set up the printer and
/// choose the listing font through `commands`.
class TStampa : public QDialog
{
    Q_OBJECT
public:
    /// `commands` holds the options and outlives the window; `source` is what the preview
    /// and the print list.
    TStampa(ListingCommands& commands, engine::ListingSource source, QWidget* parent = nullptr);

    void BitBtn1Click(); ///< "Imposta Stampante"
    void BitBtn2Click(); ///< "Imposta Carattere"
    void BitBtn3Click(); ///< "Stampa"
    void BitBtn5Click(); ///< "Anteprima"
    void CheckBox10Click(); ///< "Stampa su File di testo"

    QCheckBox* CheckBox1 = nullptr; ///< fixed-pitch fonts only, in the font dialog
    QCheckBox* CheckBox2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    QPushButton* BitBtn1 = nullptr; ///< "Imposta Stampante"
    QPushButton* BitBtn2 = nullptr; ///< "Imposta Carattere"
    QPushButton* BitBtn3 = nullptr; ///< "Stampa"
    QPushButton* Button1 = nullptr; ///< "Chiudi"
    QPushButton* BitBtn5 = nullptr; ///< "Anteprima"

private:
    void createControls();
    QCheckBox* optionBox(
        const char* name, const QString& caption, bool engine::ListingOptions::*option);

    ListingCommands& m_commands;
    engine::ListingSource m_source;
};

} // namespace quorvane::app
