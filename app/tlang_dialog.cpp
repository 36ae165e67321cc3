// The language dialog: every language found, Italian first; a click switches at once.
#include "tlang_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quorvane::app {

TLangDialog::TLangDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LangDialog"));
    setWindowTitle(QStringLiteral("Language / Lingua"));
    auto* layout = new QVBoxLayout(this);
    RadioGroup1 = new QGroupBox(QStringLiteral("Select Language / Scegli lingua"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    m_items = new QVBoxLayout(RadioGroup1);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    layout->addWidget(RadioGroup1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_group, &QButtonGroup::idClicked, this, &TLangDialog::RadioGroup1Click);
    addLanguage(QStringLiteral("Italiano"));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TLangDialog::addLanguage(const QString& title)
{
    auto* button = new QRadioButton(title, RadioGroup1);
    button->setObjectName(QStringLiteral("Item%1").arg(count()));
    m_group->addButton(button, count());
    m_items->addWidget(button);
}

int TLangDialog::count() const
{
    return static_cast<int>(m_group->buttons().size());
}

void TLangDialog::setItemIndex(int index)
{
    if (QAbstractButton* button = m_group->button(index)) {
        button->setChecked(true);
        return;
    }
    // No item stands for an index beyond the list: none is selected.
    m_group->setExclusive(false);
    for (QAbstractButton* b : m_group->buttons())
        b->setChecked(false);
    m_group->setExclusive(true);
}

void TLangDialog::setVisible(bool visible)
{
    // Qt would centre the dialog on its owner; at the first start the owner is a main window
    // that is not shown yet. Placed before it is shown, the dialog keeps the place.
    if (visible && !isVisible()) {
        const QWidget* owner = parentWidget();
        const QScreen* shownOn
            = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
        if (shownOn != nullptr) {
            adjustSize();
            QRect placed = geometry();
            placed.moveCenter(shownOn->availableGeometry().center());
            move(placed.topLeft());
        }
    }
    QDialog::setVisible(visible);
}

int TLangDialog::itemIndex() const
{
    return m_group->checkedId();
}

} // namespace quorvane::app
