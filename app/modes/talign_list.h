// The alignment dialog of the list modes: each file beside its new name.
#pragma once

#include "engine/entry_list.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QListWidget;

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::app {

/// "Imposta filename e seleziona l'ordine". The files of the directory (`sources`, entries
/// "nameF") stand on the left, the names of the list file (`names`) on the right, row
/// against row. Both columns can be reordered by dragging; the right one can be edited
/// instead. OK closes only on a complete table and then holds the run's two lists.
class TAlignlist final : public QDialog
{
    Q_OBJECT
public:
    TAlignlist(const std::vector<std::u32string>& names, const engine::EntryList& sources,
        engine::Prompts& prompts, QWidget* parent);

    void accept() override; ///< OKBtnClick

    /// After OK: the files in the order of the left column ("nameF").
    [[nodiscard]] const engine::EntryList& orderList() const { return m_orderList; }
    /// After OK: the new names, index-aligned with orderList().
    [[nodiscard]] const std::vector<std::u32string>& targetNames() const { return m_targetNames; }
    /// "Imposta numerazione files" was checked.
    [[nodiscard]] bool numberingAfter() const;

    /// Switches the right column between dragging rows and editing cells.
    void CheckBox2Click();

private:
    void createControls();
    /// False after asking about missing destinations: the dialog stays open.
    [[nodiscard]] bool tableComplete();
    void buildLists();
    [[nodiscard]] std::u32string sourceAt(int row) const;
    [[nodiscard]] std::u32string destinationAt(int row) const;

    engine::Prompts& m_prompts;
    engine::EntryList m_orderList;
    std::vector<std::u32string> m_targetNames;

    QListWidget* StringGrid1 = nullptr; ///< sources
    QListWidget* StringGrid2 = nullptr; ///< destinations
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
};

} // namespace quorvane::app
