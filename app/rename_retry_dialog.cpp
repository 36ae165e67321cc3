// The box of a rename the system refused during a run: another name, skip, skip all, stop.
#include "rename_retry_dialog.h"

#include "qt_text.h"

#include "lang/added_texts.h"
#include "lang/text_format.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane::app {

namespace {

/// Message texts use CR LF line ends; Qt wants LF.
QString labelText(std::u32string_view text)
{
    return toDisplay(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

RenameRetryDialog::RenameRetryDialog(const engine::InputRequest& request, QWidget* parent)
    : QDialog(parent)
{
    using Action = engine::RetryAnswer::Action;
    setObjectName(QStringLiteral("RenameRetryDialog"));
    setWindowTitle(labelText(request.caption));

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("Prompt"));
    m_prompt->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_reason = new QLabel(labelText(request.caption), this);
    m_reason->setObjectName(QStringLiteral("Reason"));
    QFont bold = m_reason->font();
    bold.setBold(true);
    m_reason->setFont(bold);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("NameEdit"));
    // The field holds the real name, undecodable bytes included, so an unchanged answer
    // retries exactly the name that was refused.
    m_name->setText(toQt(request.text));
    // A long name must show whole: the field grows with it, up to a width that still fits
    // a small screen.
    const QFontMetrics metrics = m_name->fontMetrics();
    m_name->setMinimumWidth(std::clamp(metrics.horizontalAdvance(m_name->text()) + 24,
        metrics.averageCharWidth() * 50, metrics.averageCharWidth() * 110));

    // A fixed order, from the mildest answer to the strongest; Qt's button box would sort
    // "Interrompi" next to OK on some desktops.
    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    // OK reads as every other OK button of the program does, in the language in force.
    const QDialogButtonBox standard(QDialogButtonBox::Ok);
    m_ok = button(standard.button(QDialogButtonBox::Ok)->text(), "OkButton");
    m_skip = button(toDisplay(lang::addedText(lang::added::RUN_SALTA)), "SkipButton");
    m_skipAll = button(toDisplay(lang::addedText(lang::added::RUN_SALTA_TUTTI)), "SkipAllButton");
    m_stop = button(toDisplay(lang::addedText(lang::added::RUN_INTERROMPI)), "StopButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : { m_ok, m_skip, m_skipAll, m_stop })
        buttons->addWidget(b);
    // Enter retries with the name in the field: that is what the box is for.
    m_ok->setDefault(true);
    // The prompt names the buttons as they read here, in the language in force.
    const auto plain = [](const QPushButton* b) { return toCore(b->text().remove(u'&')); };
    m_prompt->setText(request.subject.empty()
            ? labelText(request.prompt)
            : labelText(lang::formatText(lang::addedText(lang::added::RINOMINA_RIFIUTATA_SCELTA),
                { request.subject, plain(m_ok), plain(m_skip) })));

    connect(m_ok, &QPushButton::clicked, this, [this] { finish(Action::Retry); });
    connect(m_skip, &QPushButton::clicked, this, [this] { finish(Action::Skip); });
    connect(m_skipAll, &QPushButton::clicked, this, [this] { finish(Action::SkipAll); });
    connect(m_stop, &QPushButton::clicked, this, [this] { finish(Action::Stop); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_reason);
    layout->addWidget(m_prompt);
    layout->addWidget(m_name);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_name->setFocus();
    m_name->selectAll();
}

engine::RetryAnswer RenameRetryDialog::answer() const
{
    if (m_action == engine::RetryAnswer::Action::Retry)
        return { m_action, toCore(m_name->text()) };
    return { m_action, {} };
}

void RenameRetryDialog::reject()
{
    m_action = engine::RetryAnswer::Action::Skip;
    QDialog::reject();
}

void RenameRetryDialog::finish(engine::RetryAnswer::Action action)
{
    m_action = action;
    done(action == engine::RetryAnswer::Action::Retry ? Accepted : Rejected);
}

} // namespace quorvane::app
