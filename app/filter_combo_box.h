// The file-type filter: descriptions shown, masks applied to the file list.
#pragma once

#include <QComboBox>

#include <string>

namespace quorvane::app {

/// FilterComboBox1: "description|mask" pairs; the sixteen designed entries, then the masks
/// the user adds for the session.
class FilterComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit FilterComboBox(QWidget* parent = nullptr);

    /// The mask of the current entry.
    [[nodiscard]] std::u32string mask() const;
    /// Index of the "Altro........" entry, which asks for a mask of the user's.
    [[nodiscard]] static int otherIndex() { return 7; }
};

} // namespace quorvane::app
