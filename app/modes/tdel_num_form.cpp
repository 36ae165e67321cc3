// The dialog of removing numbering.
#include "tdel_num_form.h"
#include "app/tlanguage_controller.h"

#include "ok_cancel_buttons.h"

#include "app/qt_text.h"

#include "lang/language_manager.h"
#include "lang/text_format.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace quorvane::app {

TDelNumForm::TDelNumForm(
    engine::RunState& state, QAction& numbering, QAction& removal, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_numbering(numbering)
    , m_removal(removal)
{
    setObjectName(QStringLiteral("DelNumForm"));
    setWindowTitle(QStringLiteral("Elimina Numerazione"));
    createControls();
    TrackBar1->setValue(m_state.NumDigits);
    TrackBar1Change();
    connect(TrackBar1, &QSlider::valueChanged, this, &TDelNumForm::TrackBar1Change);
    for (QRadioButton* option : { RadioButton1, RadioButton2, RadioButton3 })
        connect(option, &QRadioButton::clicked, this, &TDelNumForm::aggiorna_radionum);
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "DelNumForm");
}

void TDelNumForm::createControls()
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont large = Label1->font();
    large.setPixelSize(15);
    Label1->setFont(large);
    Label1->setWordWrap(true);
    auto* label2 = new QLabel(QStringLiteral("Numero di cifre minimo : "), this);
    label2->setObjectName(QStringLiteral("Label2"));
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setToolTip(
        QStringLiteral("Cambia il numero minimo di cifre consecutive da eliminare"));
    TrackBar1->setRange(1, 8);
    TrackBar1->setSingleStep(1);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(label2);
    sliderRow->addWidget(TrackBar1, 1);

    const auto option = [this](const char* name, const char* caption, const char* hint) {
        auto* button = new QRadioButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(QString::fromUtf8(hint));
        return button;
    };
    RadioButton1 = option("RadioButton1", "Elimina solo numerazione",
        R"(Converte "03 - esempio.mp3" in " - esempio.mp3")");
    RadioButton2 = option("RadioButton2", R"(Elimina separatore " - " seguente la numerazione)",
        R"(Converte "03 - esempio.mp3" in "esempio.mp3")");
    RadioButton3 = option("RadioButton3", R"(Elimina separatore " - " precedente la numerazione)",
        R"(Converte "esempio - 03.mp3" in "esempio.mp3")");
    RadioButton1->setChecked(true);
    CheckBox1 = new QCheckBox(
        QStringLiteral("Limita il controllo ai primi caratteri del filename"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    QDialogButtonBox* box = okCancelButtons(*this);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addLayout(sliderRow);
    column->addWidget(RadioButton1);
    column->addWidget(RadioButton2);
    column->addWidget(RadioButton3);
    column->addWidget(CheckBox1);
    column->addWidget(box);
}

void TDelNumForm::TrackBar1Change()
{
    // In force at once, for numbering too: Cancel does not take it back.
    m_state.NumDigits = TrackBar1->value();
    Label1->setText(toDisplay(lang::formatText(lang::LookupConstant(lang::id::ELIMINA_X_CIFRE),
        { static_cast<std::int64_t>(m_state.NumDigits) })));
}

void TDelNumForm::aggiorna_radionum()
{
    m_state.DelNumMode = RadioButton3->isChecked() ? 3 : RadioButton2->isChecked() ? 2 : 1;
}

void TDelNumForm::accept()
{
    aggiorna_radionum();
    m_state.DelNumLeadingOnly = CheckBox1->isChecked();
    m_numbering.setChecked(false);
    QDialog::accept();
}

void TDelNumForm::reject()
{
    m_state.DelNumLeadingOnly = false;
    m_removal.setChecked(false);
    QDialog::reject();
}

} // namespace quorvane::app
