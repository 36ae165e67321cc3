// The language dialog: every language found, Italian first; a click switches at once.
#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QVBoxLayout;

namespace quorvane::app {

/// "Language / Lingua": its texts are bilingual and never translated. Item i stands for
/// index i of the language list; clicking an item emits RadioGroup1Click at once, and OK
/// and Cancel only close the dialog.
class TLangDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TLangDialog(QWidget* parent = nullptr);

    /// Appends a language after those already listed.
    void addLanguage(const QString& title);
    [[nodiscard]] int count() const;
    /// Selects the item without emitting RadioGroup1Click; an index beyond the list
    /// selects none.
    void setItemIndex(int index);
    [[nodiscard]] int itemIndex() const;
    /// Shown in the middle of the screen, as the main window may not be shown yet.
    void setVisible(bool visible) override;

signals:
    void RadioGroup1Click(int index);

private:
    QGroupBox* RadioGroup1 = nullptr;
    QVBoxLayout* m_items = nullptr;
    QButtonGroup* m_group = nullptr;
};

} // namespace quorvane::app
