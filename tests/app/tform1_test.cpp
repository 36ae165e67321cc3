// The main window driven as a person would: options, selections, buttons, answers.
#include "file_list_wait.h"
#include "support/failing_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "window_controls.h"

#include "app/dialog_host.h"
#include "app/directory_list_box.h"
#include "app/file_list_box.h"
#include "app/filter_combo_box.h"
#include "app/tdirmon.h"
#include "app/tform1.h"
#include "app/tpreview.h"
#include "app/update/http_url.h"
#include "app/update/update_check.h"
#include "app/update_status.h"
#include "platform/name_codec.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTcpServer>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace quorvane::test {
namespace {

/// Records the dialogs the window opens and closes them at once.
class RecordingDialogs final : public app::DialogHost
{
public:
    int exec(QDialog& dialog) override
    {
        opened.emplace_back(dialog.metaObject()->className());
        if (auto* preview = qobject_cast<app::TPreview*>(&dialog))
            previewRows = preview->findChild<QAbstractItemModel*>() != nullptr;
        return QDialog::Accepted;
    }
    std::vector<std::string> opened;
    bool previewRows = false;
};

class WindowTest : public ::testing::Test
{
protected:
    WindowTest()
        : window(prompts, fs, dialogs, platform::decodeName(tmp.path()))
    { }

    void reload()
    {
        ui.DirectoryListBox1->update();
        ui.FileListBox1->update();
        EXPECT_TRUE(waitForFileList(*ui.FileListBox1));
    }
    /// Selects files of the file list by their shown names.
    void select(const std::vector<QString>& names)
    {
        QAbstractItemModel* model = ui.FileListBox1->model();
        QItemSelectionModel* selection = ui.FileListBox1->selectionModel();
        selection->clearSelection();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (std::ranges::find(names, index.data().toString()) != names.end())
                selection->select(index, QItemSelectionModel::Select);
        }
    }
    std::vector<std::string> namesIn(const std::string& relative = {}) const
    {
        return tmp.namesIn(relative);
    }

    TempDir tmp;
    ScriptedPrompts prompts;
    FailingFileSystem fs;
    RecordingDialogs dialogs;
    app::TForm1 window;
    WindowControls ui { window };
};

TEST_F(WindowTest, RunAndUndoOnARecursiveTree)
{
    tmp.file("a b/x y.mp3", "song");
    tmp.file("c d.txt", "text");
    reload();
    ui.CheckBox10->setChecked(true);

    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);

    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A B", "C D.txt" }));
    EXPECT_EQ(tmp.read("A B/X Y.mp3"), "song");
    EXPECT_TRUE(window.windowTitle().startsWith(
        QStringLiteral("Quorvane 0.99 - Ultima operazione: 3 files rinominati in 0 minuti e ")))
        << window.windowTitle().toStdString();
    EXPECT_TRUE(ui.BitBtn3->isEnabled());
    EXPECT_TRUE(ui.BitBtn1->isEnabled());
    EXPECT_EQ(ui.BitBtn1->text(), QStringLiteral("Rinomina"));
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(ui.FileListBox1->count(), 1) << "the file list is re-read after the run";

    QTest::mouseClick(ui.BitBtn3, Qt::LeftButton);

    EXPECT_EQ(namesIn(), (std::vector<std::string> { "a b", "c d.txt" }));
    EXPECT_EQ(tmp.read("a b/x y.mp3"), "song");
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(WindowTest, OneSelectedFileAsksOkOrAll)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    reload();
    select({ QStringLiteral("a.txt") });
    prompts.buttons.push_back(engine::Button::Ok);
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "UN_FILE_O_TUTTI");
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A.txt", "b.txt" }));
    EXPECT_FALSE(ui.CheckBox7->isChecked()) << "a selection switches the directories off";

    select({ QStringLiteral("b.txt") });
    prompts.buttons.push_back(engine::Button::All);
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A.txt", "B.txt" }));
    EXPECT_TRUE(ui.FileListBox1->selectedNames().empty());
}

TEST_F(WindowTest, DangerousDirectoryAbortKeepsDiskAndNumbering)
{
    tmp.file("a.txt");
    reload();
    fs.dangerous.push_back(tmp.path());
    // Arm numbering as its dialog would.
    ui.NumerazioneFiles1->setCheckable(true);
    ui.NumerazioneFiles1->setChecked(true);
    window.runState().NumLayout = { { engine::LayoutKind::Number, {} } };
    ui.Rinominainformato831->setChecked(true);
    prompts.buttons.push_back(engine::Button::Abort);

    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);

    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "NUMERAZIONE_PERICOLOSA");
    EXPECT_EQ(namesIn(), std::vector<std::string> { "a.txt" });
    EXPECT_TRUE(ui.NumerazioneFiles1->isChecked());
    EXPECT_FALSE(ui.Rinominainformato831->isChecked());
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
    EXPECT_TRUE(ui.BitBtn1->isEnabled());
}

TEST_F(WindowTest, MonitorIsOffWhileARunRenamesAndOnlyWhereItIsUsed)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    reload();
    std::vector<bool> activeAtRename;
    fs.renameError = [&](int, const std::string&, const std::string&) {
        activeAtRename.push_back(ui.DirMon1->Active());
        return 0;
    };
    const bool watched = ui.DirMon1->Active();
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(activeAtRename, (std::vector<bool> { false, false }));
    EXPECT_EQ(ui.DirMon1->Active(), watched) << "the run puts the monitor back as it was";

    // Where nothing can be watched the run never switches a monitor on.
    window.browsePane().setMonitorActive(false);
    window.runState().platformKind = engine::PlatformKind::Win9x;
    ui.CheckBox8->setChecked(true);
    tmp.file("c_d.txt");
    reload();
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(tmp.exists("C D.txt"));
    EXPECT_FALSE(ui.DirMon1->Active());
}

TEST_F(WindowTest, EscapeStopsARunAndOtherInputWaitsForNothing)
{
    for (int i = 0; i < 6; ++i)
        tmp.file("f" + std::to_string(i) + ".txt");
    reload();
    int renames = 0;
    fs.renameError = [&](int, const std::string&, const std::string&) {
        if (++renames == 2) {
            // Someone presses Escape and clicks "Rinomina" again while the run works; the
            // pause lets the run paint itself (and so see the input) after this entry.
            const QPointF centre = QRectF(ui.BitBtn1->rect()).center();
            QCoreApplication::postEvent(
                ui.BitBtn1, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            for (const QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease })
                QCoreApplication::postEvent(ui.BitBtn1,
                    new QMouseEvent(type, centre, ui.BitBtn1->mapToGlobal(centre), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier));
            QTest::qSleep(150);
        }
        return 0;
    };

    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(renames, 2) << "the run stops after the entry it was renaming";
    QApplication::processEvents();
    EXPECT_EQ(renames, 2) << "the click during the run started nothing afterwards";
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(", operazione interrotta")))
        << window.windowTitle().toStdString();
    EXPECT_EQ(ui.BitBtn1->text(), QStringLiteral("Rinomina"));
    EXPECT_TRUE(ui.BitBtn3->isEnabled());
}

TEST_F(WindowTest, ARunCutShortByAnErrorCanStillBeUndone)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    reload();
    // A list of names one short: the run stops at the second file with an error.
    ui.RinominadaFile1->setCheckable(true);
    ui.RinominadaFile1->setChecked(true);
    window.runState().OrderList = { U"a.txtF", U"b.txtF" };
    window.runState().TargetNames = { U"first.txt" };

    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);

    EXPECT_TRUE(tmp.exists("First.txt"));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "RUN_ERROR");
    EXPECT_TRUE(ui.BitBtn3->isEnabled());
    EXPECT_EQ(ui.BitBtn1->text(), QStringLiteral("Rinomina"));
    QTest::mouseClick(ui.BitBtn3, Qt::LeftButton);
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "a.txt", "b.txt" }));
}

TEST_F(WindowTest, PreviewAfterARunLeavesUndoAbleToUndoThatRun)
{
    tmp.file("a.txt", "x");
    reload();
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    ASSERT_TRUE(tmp.exists("A.txt"));

    ui.ComboBox1->setCurrentIndex(2);
    QTest::mouseClick(ui.BitBtn4, Qt::LeftButton);
    EXPECT_EQ(dialogs.opened, std::vector<std::string> { "quorvane::app::TPreview" });
    EXPECT_TRUE(dialogs.previewRows);
    EXPECT_EQ(namesIn(), std::vector<std::string> { "A.txt" }) << "a preview renames nothing";
    EXPECT_TRUE(ui.BitBtn3->isEnabled());

    QTest::mouseClick(ui.BitBtn3, Qt::LeftButton);
    EXPECT_EQ(tmp.read("a.txt"), "x");
}

TEST_F(WindowTest, APreviewLeavesTheRenameButtonAloneAndEveryRunCountsFromOne)
{
    for (const char* name : { "a.txt", "b.txt", "c.txt" })
        tmp.file(name);
    reload();
    // The button shows a count at most every 100 ms: slow renames let every count show.
    std::vector<std::string> shown;
    fs.renameError = [&](int, const std::string&, const std::string&) {
        shown.push_back(ui.BitBtn1->text().toStdString());
        QTest::qSleep(120);
        return 0;
    };
    const auto runWithPreviewFirst = [&](int caseMode) {
        ui.ComboBox1->setCurrentIndex(caseMode);
        QTest::mouseClick(ui.BitBtn4, Qt::LeftButton);
        EXPECT_EQ(ui.BitBtn1->text().toStdString(), "Rinomina") << "after the preview";
        EXPECT_TRUE(ui.BitBtn1->isEnabled());
        shown.clear();
        QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(ui.BitBtn1->text().toStdString(), "Rinomina") << "after the run";
        return shown;
    };

    const std::vector<std::string> first = runWithPreviewFirst(2); // TUTTO MAIUSCOLO
    ASSERT_EQ(namesIn(), (std::vector<std::string> { "A.TXT", "B.TXT", "C.TXT" }));
    const std::vector<std::string> second = runWithPreviewFirst(3); // tutto minuscolo
    ASSERT_EQ(namesIn(), (std::vector<std::string> { "a.txt", "b.txt", "c.txt" }));

    ASSERT_EQ(first.size(), 3U);
    EXPECT_TRUE(first[1].ends_with(" 1")) << first[1];
    EXPECT_TRUE(first[2].ends_with(" 2")) << first[2];
    EXPECT_EQ(second, first) << "the second run counts from one again";
}

TEST_F(WindowTest, CapitalBoxesFollowTheModeAndTheSpaceRule)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(ui.CheckBox9->isVisible());
    EXPECT_FALSE(ui.CheckBox12->isEnabled()) << "capital after a space forces the dash rule";
    EXPECT_TRUE(ui.CheckBox12->isChecked());

    ui.CheckBox6->click();
    EXPECT_TRUE(ui.CheckBox12->isEnabled());
    ui.CheckBox12->click();
    EXPECT_FALSE(ui.CheckBox12->isChecked());

    ui.ComboBox1->setCurrentIndex(2);
    EXPECT_FALSE(ui.CheckBox9->isVisible());
    EXPECT_FALSE(ui.CheckBox6->isVisible());
    EXPECT_FALSE(ui.CheckBox12->isVisible());
    ui.ComboBox1->setCurrentIndex(1);
    EXPECT_TRUE(ui.CheckBox12->isVisible());
    EXPECT_FALSE(ui.CheckBox12->isChecked()) << "boxes come back with their states";

    ui.CheckBox6->click();
    EXPECT_FALSE(ui.CheckBox12->isEnabled());
    EXPECT_TRUE(ui.CheckBox12->isChecked());
}

TEST_F(WindowTest, OnlyDirectoriesAndAttributeBoxes)
{
    EXPECT_FALSE(ui.CheckBox1->isEnabled());
    ui.RadioButton2->click();
    EXPECT_TRUE(ui.CheckBox1->isEnabled());
    EXPECT_TRUE(ui.CheckBox4->isEnabled());
    ui.RadioButton1->click();
    EXPECT_FALSE(ui.CheckBox3->isEnabled());

    ui.CheckBox7->setChecked(false);
    ui.CheckBox5->click();
    EXPECT_TRUE(ui.CheckBox7->isChecked());
    EXPECT_FALSE(ui.CheckBox7->isEnabled());
    EXPECT_EQ(ui.CheckBox10->text(), QStringLiteral("Le sottodirectory"));
    ui.CheckBox5->click();
    EXPECT_TRUE(ui.CheckBox7->isEnabled());
    EXPECT_EQ(ui.CheckBox10->text(), QStringLiteral("I files nelle sottodirectory"));
}

TEST_F(WindowTest, StatusBarCountsSubdirectoriesAndFiles)
{
    tmp.dir("one");
    tmp.dir(".hidden");
    tmp.file("x.mp3");
    tmp.file("y.txt");
    tmp.file("z.txt");
    reload();
    window.browsePane().Aggiorna_StatusBar();
    EXPECT_EQ(ui.StatusPanel0->text(), QStringLiteral(" 2 Sottodirectory"));
    EXPECT_EQ(ui.StatusPanel1->text(), QStringLiteral(" 3 Files"));
    ui.FilterComboBox1->setCurrentIndex(1); // Mp3
    window.browsePane().FilterComboBox1Change();
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(ui.StatusPanel1->text(), QStringLiteral(" 1 Files"));
}

TEST_F(WindowTest, EachBrowsingCommandReadsTheDirectoryOncePerList)
{
    tmp.file("x.mp3");
    tmp.dir("sub");
    reload();
    const auto readings = [this] {
        int total = 0;
        for (const auto& [dir, count] : fs.listings)
            total += count;
        fs.listings.clear();
        return total;
    };
    readings();

    ui.FilterComboBox1->setCurrentIndex(1);
    window.browsePane().FilterComboBox1Change();
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(readings(), 1) << "a filter pick re-reads the file list alone";

    window.browsePane().aggiornaClick();
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(readings(), 2) << "a refresh re-reads the tree and the file list, once each";
}

TEST_F(WindowTest, MenusAndPathButtonsHaveDistinctMnemonics)
{
    // Alt+letter reaches every top menu and the two buttons by the path; they share the
    // window's Alt keys, so no letter may serve two of them.
    QStringList windowLetters;
    const auto letterOf
        = [](const QString& text) { return QKeySequence::mnemonic(text).toString(); };
    for (const QAction* top : window.menuBar()->actions()) {
        ASSERT_FALSE(letterOf(top->text()).isEmpty()) << top->text().toStdString();
        windowLetters << letterOf(top->text());
        // Inside a menu the letters must be told apart as well.
        QStringList itemLetters;
        for (const QAction* item : top->menu()->actions()) {
            if (item->isSeparator())
                continue;
            ASSERT_FALSE(letterOf(item->text()).isEmpty()) << item->text().toStdString();
            itemLetters << letterOf(item->text());
        }
        EXPECT_EQ(itemLetters.removeDuplicates(), 0) << top->text().toStdString();
    }
    EXPECT_EQ(windowLetters.first(), QKeySequence(Qt::ALT | Qt::Key_A).toString());
    for (const QToolButton* button : { ui.rendir, ui.SpeedButton1 }) {
        ASSERT_FALSE(letterOf(button->text()).isEmpty()) << button->objectName().toStdString();
        windowLetters << letterOf(button->text());
    }
    EXPECT_EQ(windowLetters.removeDuplicates(), 0) << windowLetters.join(u' ').toStdString();
}

TEST_F(WindowTest, PathButtonsLookLikeButtonsAndNoButtonIsClipped)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const QSize size : { QSize(1000, 700), window.minimumSize() }) {
        window.resize(size);
        QApplication::processEvents();
        // A button shows a frame of its own; a flat one is only its caption on the window's
        // background, which reads as a label.
        for (QToolButton* button : { ui.rendir, ui.SpeedButton1 }) {
            const QImage image = button->grab().toImage();
            const QColor background = button->palette().color(QPalette::Window);
            int framed = 0;
            for (int y = 0; y < image.height(); ++y)
                framed += image.pixelColor(0, y) != background ? 1 : 0;
            EXPECT_GT(framed, image.height() / 2) << button->objectName().toStdString();
        }
        for (const QAbstractButton* button :
            window.centralWidget()->findChildren<QAbstractButton*>()) {
            if (button->isVisible()) {
                EXPECT_GE(button->width(), button->sizeHint().width())
                    << button->objectName().toStdString() << " at " << size.width() << "x"
                    << size.height();
            }
        }
    }
}

TEST_F(WindowTest, ListingAndAboutCommandsOpenTheirWindows)
{
    tmp.file("song.mp3");
    reload();
    control<QAction>(window, "N6")->trigger();
    control<QAction>(window, "AnteprimadiStampa1")->trigger();
    control<QAction>(window, "About1")->trigger();
    control<QPushButton>(window, "BitBtn2")->click();
    control<QAction>(window, "CronologiaOperazioni1")->trigger();
    EXPECT_EQ(dialogs.opened,
        (std::vector<std::string> { "quorvane::app::TStampa", "quorvane::app::TAnteprima",
            "quorvane::about::TAboutBox", "quorvane::about::TAboutBox",
            "quorvane::app::THistory" }));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(WindowTest, OptionsReachTheRules)
{
    ui.ComboBox1->setCurrentIndex(3);
    ui.CheckBox8->setChecked(true);
    ui.Gestiscilettereaccentate1->trigger();
    ui.Noneliminaredellestensione1->trigger();
    const engine::RenameOptions o = window.optionsPanel().renameOptions();
    EXPECT_EQ(o.ComboBox1, 3);
    EXPECT_TRUE(o.CheckBox8);
    EXPECT_TRUE(o.HandleAccents);
    EXPECT_FALSE(o.KeepExtDot);
    EXPECT_FALSE(o.NumerazioneFiles1);
}

TEST_F(WindowTest, AnUndoThatLeftNamesBehindCanBeTriedAgainForThemAlone)
{
    tmp.file("a.txt", "a");
    tmp.file("b.txt", "b");
    reload();
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    ASSERT_TRUE(tmp.exists("A.txt") && tmp.exists("B.txt"));
    tmp.file("b.txt", "newcomer"); // takes the name B.txt is to get back

    QTest::mouseClick(ui.BitBtn3, Qt::LeftButton);
    EXPECT_EQ(tmp.read("a.txt"), "a");
    EXPECT_EQ(tmp.read("B.txt"), "b");
    EXPECT_TRUE(ui.BitBtn3->isEnabled()) << "B.txt still waits for its name";

    std::filesystem::remove(tmp / "b.txt");
    prompts.messages.clear();
    QTest::mouseClick(ui.BitBtn3, Qt::LeftButton);
    EXPECT_EQ(tmp.read("b.txt"), "b");
    EXPECT_EQ(tmp.read("a.txt"), "a");
    EXPECT_TRUE(prompts.messages.empty()) << "what was restored is not undone again";
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
}

TEST_F(WindowTest, AnUpdateCheckShowsThatItIsUnderWayAndSaysWhyItFailed)
{
    QTcpServer closed; // a port where nothing listens any more: the connection is refused
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const std::string url
        = "http://127.0.0.1:" + std::to_string(closed.serverPort()) + "/quorvane-latest-version";
    closed.close();
    window.updateStatus().check().setServer(*update::parseHttpUrl(url));
    auto* item = control<QAction>(window, "checkUpdate");
    auto* status = control<QStatusBar>(window, "StatusBar1");

    item->trigger();
    EXPECT_FALSE(item->isEnabled()) << "one check at a time";
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Ricerca aggiornamenti in corso..."));
    QElapsedTimer waited;
    waited.start();
    while (prompts.messages.empty() && waited.elapsed() < 10000)
        QTest::qWait(20);

    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "CANT_CHECK");
    EXPECT_NE(prompts.messages[0].text.find(U"Motivo: "), std::u32string::npos)
        << platform::encodeName(prompts.messages[0].text);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(status->currentMessage().isEmpty());
}

} // namespace
} // namespace quorvane::test
