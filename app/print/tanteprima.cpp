// The listing's preview window: the text in the listing font, "Chiudi" and "Stampa".
#include "tanteprima.h"
#include "app/tlanguage_controller.h"

#include "app/qt_text.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace quorvane::app {

TAnteprima::TAnteprima(const QFont& font, std::function<bool()> print, QWidget* parent)
    : QDialog(parent)
    , m_print(std::move(print))
{
    setObjectName(QStringLiteral("Anteprima"));
    setWindowTitle(QStringLiteral("Anteprima"));
    setSizeGripEnabled(true);
    resize(639, 472);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(font);
    // Listing lines keep their columns: no wrapping, the view scrolls sideways instead.
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    OKBtn = new QPushButton(QStringLiteral("Chiudi"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    BitBtn1 = new QPushButton(QStringLiteral("Stampa"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto* panel = new QHBoxLayout;
    panel->addStretch();
    panel->addWidget(OKBtn);
    panel->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(panel);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TAnteprima::BitBtn1Click);
    OKBtn->setFocus();
    // Last: the texts as built are the form's Italian defaults.
    new TLanguageController(this, "Anteprima");
}

void TAnteprima::appendListing(std::u32string_view text)
{
    QString lines = toDisplay(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Every piece ends with a line end; appendPlainText starts a line of its own, so the
    // last one is dropped rather than doubled.
    if (lines.endsWith(QLatin1Char('\n')))
        lines.chop(1);
    if (!m_started) {
        Memo1->setPlainText(lines);
        m_started = true;
    } else {
        Memo1->appendPlainText(lines);
    }
}

void TAnteprima::BitBtn1Click()
{
    if (m_print && m_print())
        accept();
}

} // namespace quorvane::app
