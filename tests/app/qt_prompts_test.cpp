// The program's questions as real modal boxes, answered from the keyboard.
#include "file_list_wait.h"
#include "modal_driver.h"

#include "support/failing_file_system.h"
#include "support/temp_dir.h"

#include "window_controls.h"

#include "app/dialog_host.h"
#include "app/file_list_box.h"
#include "app/qt_prompts.h"
#include "app/rename_retry_dialog.h"
#include "app/tdirmon.h"
#include "app/tform1.h"
#include "platform/name_codec.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

using engine::Button;

struct KeyCase
{
    const char* what;
    std::vector<Button> buttons;
    std::optional<Button> defaultButton;
    Qt::Key key;
    Button expected;
};

TEST(QtPromptsKeys, EnterPressesTheQuestionsDefaultAndEscapeTheSafestButton)
{
    const KeyCase cases[] = {
        { "dangerous directory, Enter", { Button::Abort, Button::Ignore }, Button::Abort,
            Qt::Key_Return, Button::Abort },
        { "dangerous directory, Escape", { Button::Abort, Button::Ignore }, Button::Abort,
            Qt::Key_Escape, Button::Abort },
        { "default that is not the first button", { Button::Ignore, Button::Abort }, Button::Abort,
            Qt::Key_Enter, Button::Abort },
        { "one file or all, Enter", { Button::Ok, Button::All, Button::Cancel }, Button::Ok,
            Qt::Key_Enter, Button::Ok },
        { "one file or all, Escape", { Button::Ok, Button::All, Button::Cancel }, Button::Ok,
            Qt::Key_Escape, Button::Cancel },
        { "no default: the first button", { Button::Yes, Button::No }, std::nullopt, Qt::Key_Return,
            Button::Yes },
        { "Escape without Cancel or Abort", { Button::Yes, Button::No }, std::nullopt,
            Qt::Key_Escape, Button::No },
    };
    app::QtPrompts prompts;
    for (const KeyCase& c : cases) {
        const Qt::Key key = c.key;
        ModalDriver driver([key](QWidget& modal) { ModalDriver::press(modal, key); });
        const Button answer = prompts.ask(
            { "QUESTION", engine::Severity::Warning, U"Domanda?", c.buttons, c.defaultButton });
        EXPECT_EQ(answer, c.expected) << c.what;
        EXPECT_EQ(driver.driven(), 1) << c.what;
        EXPECT_EQ(driver.stuck(), 0) << c.what;
    }
}

TEST(QtPromptsPointer, AMessageDuringBusyWorkShowsTheOrdinaryPointerThenTheBusyOneAgain)
{
    app::QtPrompts prompts;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<Qt::CursorShape> whileShown;
    ModalDriver driver([&](QWidget& modal) {
        whileShown = QApplication::overrideCursor()->shape();
        ModalDriver::press(modal, Qt::Key_Return);
    });
    prompts.tell({ "MESSAGE", engine::Severity::Error, U"Errore" });
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(whileShown, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

/// What a title bar needs at the least: the title in bold and about 100 pixels for the
/// window's icon and its three buttons.
int titleNeeds(const QWidget& window)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + 100;
}

TEST(QtPromptsInput, AnInputBoxIsAsWideAsItsTitle)
{
    app::QtPrompts prompts;
    int width = 0;
    int needed = 0;
    ModalDriver driver([&](QWidget& modal) {
        width = modal.width();
        needed = titleNeeds(modal);
        ModalDriver::press(modal, Qt::Key_Escape);
    });
    (void)prompts.input(
        { "CAMBIA_NOME_DIR", U"Cambia nome alla Directory corrente", U"Nome:", U"a" });
    EXPECT_GE(width, needed);
}

TEST(QtPromptsInput, ALongPathShowsWholeAndOkGivesItBackUnchanged)
{
    app::QtPrompts prompts;
    const std::u32string path = U"/tmp/" + std::u32string(40, U'x') + U"/un file qualunque.mp3";
    int shortBy = -1;
    ModalDriver driver([&shortBy](QWidget& modal) {
        if (const auto* field = modal.findChild<QLineEdit*>())
            shortBy = field->fontMetrics().horizontalAdvance(field->text())
                - field->contentsRect().width();
        ModalDriver::press(modal, Qt::Key_Return);
    });
    EXPECT_EQ(prompts.input({ "CONFERMA_ELIMINA", U"Elimina files", U"Sicuro?", path }), path);
    EXPECT_LE(shortBy, 0) << "pixels of the path that do not show";
    EXPECT_NE(shortBy, -1) << "no edit field";
}

/// The window with the real boxes, as a person meets them.
class WindowQuestions : public ::testing::Test
{
protected:
    WindowQuestions()
        : window(prompts, fs, dialogs, platform::decodeName(tmp.path()))
    {
        prompts.setOwner(&window);
    }
    TempDir tmp;
    app::QtPrompts prompts;
    FailingFileSystem fs;
    app::DialogHost dialogs;
    app::TForm1 window;
    WindowControls ui { window };
};

/// Six files whose new names (first letter capital) are taken by six others.
void makeSixCollisions(const TempDir& tmp)
{
    for (const char* digit : { "1", "2", "3", "4", "5", "6" }) {
        tmp.file(std::string("a") + digit + ".txt", "lower");
        tmp.file(std::string("A") + digit + ".txt", "upper");
    }
}

/// Clicks one button of the refused-rename box; any other modal box is closed unanswered.
ModalDriver::Action clickInRetryBox(QPushButton* (app::RenameRetryDialog::*button)() const)
{
    return [button](QWidget& modal) {
        if (auto* retry = qobject_cast<app::RenameRetryDialog*>(&modal))
            QTest::mouseClick((retry->*button)(), Qt::LeftButton);
        else if (auto* dialog = qobject_cast<QDialog*>(&modal))
            dialog->reject();
    };
}

TEST_F(WindowQuestions, SkipAllAfterTheFirstRefusalAsksOnceForSixCollisions)
{
    makeSixCollisions(tmp);
    ui.FileListBox1->update();
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    ModalDriver driver(clickInRetryBox(&app::RenameRetryDialog::skipAllButton));

    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);

    EXPECT_EQ(driver.driven(), 1) << driver.texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(fs.renameCalls, 6) << "every later entry is still tried, just not asked about";
    EXPECT_EQ(tmp.read("a6.txt"), "lower");
    EXPECT_EQ(tmp.read("A6.txt"), "upper");
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("6 non rinominati")))
        << window.windowTitle().toStdString();
}

TEST_F(WindowQuestions, StopEndsTheRunAndLeavesTheWindowIdle)
{
    makeSixCollisions(tmp);
    ui.FileListBox1->update();
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    ModalDriver driver(clickInRetryBox(&app::RenameRetryDialog::stopButton));

    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);

    EXPECT_EQ(driver.driven(), 1);
    EXPECT_EQ(fs.renameCalls, 1) << "no entry after the stop is touched";
    EXPECT_TRUE(ui.BitBtn1->isEnabled());
    EXPECT_EQ(ui.BitBtn1->text(), QStringLiteral("Rinomina"));
    if (window.runState().platformKind == engine::PlatformKind::NT) {
        EXPECT_TRUE(ui.DirMon1->Active()) << "the monitor is back on";
    }
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("interrotta")))
        << window.windowTitle().toStdString();
    EXPECT_EQ(tmp.namesIn().size(), 12U);
}

} // namespace
} // namespace quorvane::test
