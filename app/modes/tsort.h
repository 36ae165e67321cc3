// The order dialog of numbering: which file gets which number.
#pragma once

#include "engine/entry_list.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace quorvane::app {

/// "Scegli l'ordine con cui numerare i files". The names stand beside the numbers they
/// will get; the user drags names (or sorts them with the buttons) while the numbers stay.
class TSort final : public QDialog
{
    Q_OBJECT
public:
    /// A row: the entry's name and what the sort buttons order by.
    struct Row
    {
        std::u32string name;
        std::int64_t mtimeNs = 0;
        std::uint64_t size = 0;
    };

    /// `numbers` are the texts of the number column, one per row of `rows`.
    TSort(std::vector<Row> rows, const std::vector<std::u32string>& numbers, QWidget* parent);

    /// The names from the top down, as the run will take them ("nameF").
    [[nodiscard]] engine::EntryList orderList() const;

    // The sort buttons.
    void sortByName();
    void sortByDate();
    void sortBySize();
    void reverse();

private:
    void createControls();
    /// The rows of the files as the name column shows them, from the top down.
    [[nodiscard]] std::vector<int> shownIndexes() const;
    void showIndexes(const std::vector<int>& indexes);
    void sortBy(const std::function<bool(const Row&, const Row&)>& less);

    std::vector<Row> m_rows;
    QListWidget* StringGrid1 = nullptr; ///< the numbers
    QListWidget* StringGrid2 = nullptr; ///< the names
};

} // namespace quorvane::app
