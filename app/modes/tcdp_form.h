// The album dialog of the CD player mode.
#pragma once

#include "engine/ini_file.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::app {

/// "Scegli l'album": one row per CD of the database `ini`. "Continua" writes the chosen
/// album's track titles, one per line, to the list file `listPath` (bytes) and closes with
/// Accepted; a track count that is no integer, or a list file that cannot be written, is
/// reported and the dialog stays, so nothing stale goes on.
class TCDPForm final : public QDialog
{
    Q_OBJECT
public:
    TCDPForm(const engine::IniFile& ini, engine::Prompts& prompts, std::string listPath,
        QWidget* parent);

    /// Fills the grid from the database.
    void CDPlayer();
    /// A row was chosen: the text field shows it and "Continua" may be pressed.
    void chooseRow(int row);
    void Button1Click(); ///< "Continua"

private:
    void createControls();

    const engine::IniFile& m_ini;
    engine::Prompts& m_prompts;
    std::string m_listPath;

    QTableWidget* DBGrid = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace quorvane::app
