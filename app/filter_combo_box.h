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
    // The form's Filter, named as a language file names it for the translation model.
    Q_PROPERTY(QString Filter READ filterText WRITE setFilterText)
public:
    explicit FilterComboBox(QWidget* parent = nullptr);

    /// The mask of the current entry.
    [[nodiscard]] std::u32string mask() const;
    /// Index of the "Altro........" entry, which asks for a mask of the user's.
    [[nodiscard]] static int otherIndex() { return 7; }

    /// The designed entries as the form's Filter text, "description|mask|..." in the
    /// descriptions shown now.
    [[nodiscard]] QString filterText() const;
    /// Shows the descriptions of a translated Filter text on the designed entries; their
    /// masks, the masks the user added and the current entry stay.
    void setFilterText(const QString& filter);
};

} // namespace quorvane::app
