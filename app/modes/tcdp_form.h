// The album dialog of the CD player mode.
#pragma once

#include "engine/ini_file.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::app {

/// "Scegli l'album": one row per CD of the database `ini`. "Continua" takes the chosen
/// album's track titles and closes with Accepted; a track count that is no integer is
/// reported and the dialog stays, so nothing stale goes on. The titles stay in memory: a
/// list file under a fixed name in the shared temporary directory could be a link planted
/// by someone else.
class TCDPForm final : public QDialog
{
    Q_OBJECT
public:
    TCDPForm(const engine::IniFile& ini, engine::Prompts& prompts, QWidget* parent);
    /// The dialog reads the database again on "Continua": it must outlive the dialog.
    TCDPForm(engine::IniFile&& ini, engine::Prompts& prompts, QWidget* parent) = delete;

    /// After "Continua": the chosen album's titles, in track order.
    [[nodiscard]] const std::vector<std::u32string>& titles() const { return m_titles; }

    /// Fills the grid from the database.
    void CDPlayer();
    /// A row was chosen: the text field shows it and "Continua" may be pressed.
    void chooseRow(int row);
    void Button1Click(); ///< "Continua"

private:
    void createControls();

    const engine::IniFile& m_ini;
    engine::Prompts& m_prompts;
    std::vector<std::u32string> m_titles;

    QTableWidget* DBGrid = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace quorvane::app
