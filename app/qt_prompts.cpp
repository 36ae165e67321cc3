// The program's questions and messages as Qt message boxes and input boxes.
#include "qt_prompts.h"

#include "qt_text.h"
#include "rename_retry_dialog.h"
#include "title_fitter.h"

#include "lang/added_texts.h"
#include "platform/name_codec.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace quorvane::app {

namespace {

/// Runs a question or message box with the ordinary pointer: long work that shows the busy
/// pointer (the preview of a huge directory) may ask or tell something on its way, and the
/// box must not look as if it were busy too. The busy pointer comes back afterwards.
int execWithOrdinaryPointer(QDialog& dialog)
{
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = dialog.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return result;
}

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

/// The answer that changes least: Cancel, then Abort, then No; none when the box offers
/// none of them.
std::optional<engine::Button> safestButton(const std::vector<engine::Button>& offered)
{
    for (const engine::Button safe :
        { engine::Button::Cancel, engine::Button::Abort, engine::Button::No }) {
        if (std::ranges::find(offered, safe) != offered.end())
            return safe;
    }
    return std::nullopt;
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
    std::map<engine::Button, QPushButton*> buttons;
    for (const engine::Button b : question.buttons) {
        QPushButton* button = box.addButton(standardButton(b));
        // The question names its buttons ("[OK]", "[ALL]"), so this one reads as the
        // language in force names it; Qt's own "Yes to All" would not match.
        if (b == engine::Button::All)
            button->setText(toDisplay(lang::addedText(lang::added::PULSANTE_TUTTI)));
        answers[button] = b;
        buttons[b] = button;
    }
    // Enter presses the button the question names, never one Qt guesses: the question
    // picks the answer that changes nothing on disk.
    const engine::Button enter = question.defaultButton.value_or(question.buttons.front());
    if (const auto it = buttons.find(enter); it != buttons.end())
        box.setDefaultButton(it->second);
    // Escape and the window's close button mean "leave things as they are".
    const std::optional<engine::Button> safe = safestButton(question.buttons);
    if (safe)
        box.setEscapeButton(buttons.at(*safe));
    execWithOrdinaryPointer(box);
    const auto it = answers.find(box.clickedButton());
    if (it != answers.end())
        return it->second;
    // Closed without a button: the safest answer the box offers.
    return safe.value_or(question.buttons.front());
}

std::optional<std::u32string> QtPrompts::input(const engine::InputRequest& request)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(boxText(request.caption));
    dialog.setLabelText(boxText(request.prompt));
    // The edit field holds the real name, undecodable bytes included, so an unchanged
    // answer renames to exactly the name that was proposed.
    dialog.setTextValue(toQt(request.text));
    // A full path must be readable at a glance before it is deleted or renamed: the field
    // grows with its text, up to most of the screen.
    if (auto* field = dialog.findChild<QLineEdit*>()) {
        const int wanted = field->fontMetrics().horizontalAdvance(dialog.textValue()) + 24;
        const QScreen* screen = m_parent != nullptr ? m_parent->screen() : dialog.screen();
        const int limit = screen != nullptr ? screen->availableGeometry().width() * 3 / 4 : 800;
        field->setMinimumWidth(std::clamp(wanted, field->minimumSizeHint().width(), limit));
    }
    // Its caption names the command, and the box would be only as wide as the prompt.
    TitleFitter fitter;
    dialog.installEventFilter(&fitter);
    if (execWithOrdinaryPointer(dialog) != QDialog::Accepted)
        return std::nullopt;
    return toCore(dialog.textValue());
}

engine::RetryAnswer QtPrompts::askRenameRetry(const engine::InputRequest& request)
{
    RenameRetryDialog dialog(request, m_parent);
    execWithOrdinaryPointer(dialog);
    return dialog.answer();
}

std::optional<std::u32string> QtPrompts::chooseFile(const engine::FileRequest& request)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, boxText(request.caption),
        QFile::decodeName(QByteArray::fromStdString(platform::encodeName(request.directory))));
    if (path.isEmpty())
        return std::nullopt;
    return platform::decodeName(QFile::encodeName(path).toStdString());
}

void QtPrompts::tell(const engine::Message& message)
{
    QMessageBox box(iconOf(message.severity), QCoreApplication::applicationName(),
        boxText(message.text), QMessageBox::Ok, m_parent);
    if (message.plainText)
        box.setTextFormat(Qt::PlainText);
    execWithOrdinaryPointer(box);
}

} // namespace quorvane::app
