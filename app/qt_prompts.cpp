// The program's questions and messages as Qt message boxes and input boxes.
#include "qt_prompts.h"

#include "qt_text.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace quorvane::app {

namespace {

QMessageBox::Icon iconOf(engine::Severity severity)
{
    switch (severity) {
    case engine::Severity::Information:
        return QMessageBox::Information;
    case engine::Severity::Confirmation:
        return QMessageBox::Question;
    case engine::Severity::Warning:
        return QMessageBox::Warning;
    case engine::Severity::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton standardButton(engine::Button button)
{
    switch (button) {
    case engine::Button::Ok:
        return QMessageBox::Ok;
    case engine::Button::Cancel:
        return QMessageBox::Cancel;
    case engine::Button::Yes:
        return QMessageBox::Yes;
    case engine::Button::No:
        return QMessageBox::No;
    case engine::Button::Abort:
        return QMessageBox::Abort;
    case engine::Button::Retry:
        return QMessageBox::Retry;
    case engine::Button::Ignore:
        return QMessageBox::Ignore;
    case engine::Button::All:
        return QMessageBox::YesToAll;
    }
    return QMessageBox::NoButton;
}

/// Message texts use CR LF line ends; Qt wants LF.
QString boxText(std::u32string_view text)
{
    return toDisplay(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

QtPrompts::QtPrompts(QWidget* owner)
    : m_parent(owner)
{ }

engine::Button QtPrompts::ask(const engine::Question& question)
{
    QMessageBox box(iconOf(question.severity), QCoreApplication::applicationName(),
        boxText(question.text), QMessageBox::NoButton, m_parent);
    std::map<QAbstractButton*, engine::Button> answers;
    for (const engine::Button b : question.buttons) {
        QPushButton* button = box.addButton(standardButton(b));
        // The question names its buttons "[OK]" and "[ALL]": the button must read the same.
        if (b == engine::Button::All)
            button->setText(QStringLiteral("&All"));
        answers[button] = b;
    }
    box.exec();
    const auto it = answers.find(box.clickedButton());
    if (it != answers.end())
        return it->second;
    // Closed without a button: the safest answer the box offers.
    for (const engine::Button safe :
        { engine::Button::Cancel, engine::Button::Abort, engine::Button::No }) {
        if (std::ranges::find(question.buttons, safe) != question.buttons.end())
            return safe;
    }
    return question.buttons.front();
}

std::optional<std::u32string> QtPrompts::input(const engine::InputRequest& request)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(boxText(request.caption));
    dialog.setLabelText(boxText(request.prompt));
    // The edit field holds the real name, undecodable bytes included, so an unchanged
    // answer renames to exactly the name that was proposed.
    dialog.setTextValue(toQt(request.text));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return toCore(dialog.textValue());
}

void QtPrompts::tell(const engine::Message& message)
{
    QMessageBox box(iconOf(message.severity), QCoreApplication::applicationName(),
        boxText(message.text), QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace quorvane::app
