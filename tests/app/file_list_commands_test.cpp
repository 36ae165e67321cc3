// The file list's commands and the filter, driven through the main window.
#include "file_list_wait.h"
#include "support/failing_file_system.h"
#include "support/scoped_env.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "window_controls.h"

#include "app/dialog_host.h"
#include "app/directory_list_box.h"
#include "app/file_list_box.h"
#include "app/filter_combo_box.h"
#include "app/properties_dialog.h"
#include "app/tform1.h"
#include "platform/name_codec.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvane::test {
namespace {

/// Remembers the texts of the dialogs the window opens, and closes them.
class RecordingDialogs final : public app::DialogHost
{
public:
    int exec(QDialog& dialog) override
    {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        ++opened;
        return QDialog::Rejected;
    }
    bool openUrl(const QUrl& url) override
    {
        urls << url;
        return openWorks;
    }
    QStringList texts;
    int opened = 0;
    QList<QUrl> urls;
    bool openWorks = true;
};

class FileListCommands : public ::testing::Test
{
protected:
    FileListCommands()
        : window(prompts, fs, dialogs, platform::decodeName(tmp.path()))
    { }
    void reload()
    {
        ui.FileListBox1->update();
        EXPECT_TRUE(waitForFileList(*ui.FileListBox1));
    }
    int rowOf(const QString& shown) const
    {
        QAbstractItemModel* model = ui.FileListBox1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toString() == shown)
                return row;
        return -1;
    }
    QPoint centreOf(const QString& shown) const
    {
        return ui.FileListBox1->visualRect(ui.FileListBox1->model()->index(rowOf(shown), 0))
            .center();
    }
    void chooseFilter(int index)
    {
        ui.FilterComboBox1->setCurrentIndex(index);
        window.browsePane().FilterComboBox1Change();
        EXPECT_TRUE(waitForFileList(*ui.FileListBox1));
    }

    TempDir tmp;
    ScriptedPrompts prompts;
    FailingFileSystem fs;
    RecordingDialogs dialogs;
    app::TForm1 window;
    WindowControls ui { window };
};

TEST_F(FileListCommands, OtherMaskAddsAnEntryOrFallsBackToAllFiles)
{
    tmp.file("x.a");
    tmp.file("y.b");
    reload();
    const int designed = ui.FilterComboBox1->count();

    prompts.inputs.emplace_back(U"*.a");
    chooseFilter(app::FilterComboBox::otherIndex());
    EXPECT_EQ(ui.FilterComboBox1->count(), designed + 1);
    EXPECT_EQ(ui.FilterComboBox1->currentText(), QStringLiteral("*.a"));
    EXPECT_EQ(ui.FileListBox1->count(), 1);
    EXPECT_EQ(prompts.requests.back().caption, U"Inserisci la nuova maschera");
    EXPECT_EQ(prompts.requests.back().prompt, U"Esempio:  *.tif");

    for (const std::optional<std::u32string>& answer : { std::optional<std::u32string>(U"ab"),
             std::optional<std::u32string>(U"*.*"), std::optional<std::u32string>() }) {
        prompts.inputs.push_back(answer);
        chooseFilter(app::FilterComboBox::otherIndex());
        EXPECT_EQ(ui.FilterComboBox1->currentIndex(), 0);
        EXPECT_EQ(ui.FilterComboBox1->count(), designed + 1);
        EXPECT_EQ(ui.FileListBox1->count(), 2);
    }

    const std::size_t asked = prompts.requests.size();
    chooseFilter(designed); // the added entry filters without asking again
    EXPECT_EQ(prompts.requests.size(), asked);
    EXPECT_EQ(ui.FileListBox1->count(), 1);
}

TEST(FilterComboBox, EveryDescriptionNamesTheMaskItApplies)
{
    const app::FilterComboBox filter;
    const QRegularExpression shown(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    for (int i = 0; i < filter.count(); ++i) {
        const QRegularExpressionMatch match = shown.match(filter.itemText(i));
        if (match.hasMatch()) {
            EXPECT_EQ(match.captured(1), filter.itemData(i).toString())
                << filter.itemText(i).toStdString();
        }
    }
}

TEST_F(FileListCommands, RightClickOnEmptyAreaOpensNoMenuAndFocusesNothing)
{
    tmp.file("a.txt");
    reload();
    ui.FileListBox1->setFocusedRow(0);
    window.browsePane().FileListBox1MouseDown(QPoint(5, ui.FileListBox1->viewport()->height() - 5));
    EXPECT_TRUE(ui.FileListBox1->focusedName().empty());
    EXPECT_FALSE(ui.PopupMenu1->isVisible());
}

TEST_F(FileListCommands, RightClickInsideASelectionLeavesOnlyThatFileSelected)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    tmp.file("c.txt");
    reload();
    ui.FileListBox1->selectAll();
    window.browsePane().FileListBox1MouseDown(centreOf(QStringLiteral("b.txt")));
    EXPECT_EQ(ui.FileListBox1->selectedNames(), std::vector<std::u32string> { U"b.txt" });
    EXPECT_EQ(ui.FileListBox1->focusedName(), U"b.txt");
    EXPECT_TRUE(ui.PopupMenu1->isVisible());
    EXPECT_EQ(ui.PopupMenu1->defaultAction(), ui.Rinomina1);
    ui.PopupMenu1->hide();
}

TEST_F(FileListCommands, DoubleClickRenamesTheFocusedFile)
{
    tmp.file("old.txt", "x");
    reload();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    prompts.inputs.emplace_back(U"ne:w.txt");
    const QPoint at = centreOf(QStringLiteral("old.txt"));
    QTest::mouseClick(ui.FileListBox1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(ui.FileListBox1->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(prompts.requests.size(), 1U) << at.x() << "," << at.y();
    EXPECT_EQ(tmp.read("new.txt"), "x");
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(ui.FileListBox1->count(), 1);
    EXPECT_EQ(ui.FileListBox1->name(0), U"new.txt");
}

TEST_F(FileListCommands, RenameWithoutAFocusedFileAsksNothing)
{
    window.browsePane().FileListBox1DblClick();
    EXPECT_TRUE(prompts.requests.empty());
}

TEST_F(FileListCommands, DeleteAsksWithTheFullPathAndMovesTheFileIntoTheUsersTrash)
{
    tmp.file("gone.txt", "bye");
    tmp.file("kept.txt");
    reload();
    // A data directory whose trash does not exist yet, and the browsed directory as the
    // working directory: the trash must be made in the former, nothing in the latter.
    const TempDir data;
    const std::string dataHome = data / "share";
    const ScopedEnv xdg("XDG_DATA_HOME", dataHome);
    const ScopedCurrentDirectory cwd(tmp.path());
    ui.FileListBox1->setFocusedRow(rowOf(QStringLiteral("gone.txt")));
    prompts.inputs.emplace_back(std::nullopt);
    window.browsePane().Delete1Click();
    EXPECT_TRUE(tmp.exists("gone.txt")) << "Cancel deletes nothing";
    ASSERT_EQ(prompts.requests.size(), 1U);
    EXPECT_EQ(prompts.requests[0].text, platform::decodeName(tmp / "gone.txt"));
    EXPECT_EQ(prompts.requests[0].prompt, U"Sei Sicuro Di Voler Eliminare Questo File ?");

    prompts.inputs.emplace_back(platform::decodeName(tmp / "gone.txt"));
    window.browsePane().Delete1Click();
    EXPECT_EQ(tmp.namesIn(), std::vector<std::string> { "kept.txt" })
        << "nothing new appears in the browsed directory";
    EXPECT_EQ(readFile(dataHome + "/Trash/files/gone.txt"), "bye");
    EXPECT_TRUE(exists(dataHome + "/Trash/info/gone.txt.trashinfo"));
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(ui.FileListBox1->count(), 1);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(FileListCommands, DeleteRefusesAPathEditedToNameAnotherEntry)
{
    tmp.file("clicked.txt");
    tmp.file("other.txt");
    tmp.dir("sub");
    reload();
    const TempDir data;
    const ScopedEnv xdg("XDG_DATA_HOME", data.path());
    ui.FileListBox1->setFocusedRow(rowOf(QStringLiteral("clicked.txt")));
    for (const std::string& edited : { tmp / "other.txt", tmp / "sub" }) {
        prompts.inputs.emplace_back(platform::decodeName(edited));
        window.browsePane().Delete1Click();
        ASSERT_FALSE(prompts.messages.empty()) << edited;
        EXPECT_EQ(prompts.messages.back().id, "ELIMINA_SOLO_SELEZIONATO") << edited;
    }
    EXPECT_EQ(prompts.messages.size(), 2U);
    EXPECT_TRUE(fs.trashCalls.empty());
    EXPECT_TRUE(fs.removeCalls.empty());
    EXPECT_EQ(tmp.namesIn(), (std::vector<std::string> { "clicked.txt", "other.txt", "sub" }));
}

TEST_F(FileListCommands, AFileTheTrashCannotTakeStaysWhereItIsAndTheUserIsTold)
{
    tmp.file("stays.txt", "x");
    reload();
    fs.trashError = [](const std::string&) { return EXDEV; };
    ui.FileListBox1->setFocusedRow(rowOf(QStringLiteral("stays.txt")));
    prompts.inputs.emplace_back(platform::decodeName(tmp / "stays.txt"));
    window.browsePane().Delete1Click();
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "CESTINO_FALLITO");
    EXPECT_NE(prompts.messages[0].text.find(platform::decodeName(tmp / "stays.txt")),
        std::u32string::npos);
    EXPECT_EQ(tmp.read("stays.txt"), "x");
    EXPECT_TRUE(fs.removeCalls.empty()) << "a failed trash is never a permanent delete";
    EXPECT_EQ(ui.FileListBox1->count(), 1);
}

TEST_F(FileListCommands, DirectoryRenameFromTheButton)
{
    tmp.dir("old/inner");
    ui.DirectoryListBox1->setDirectory(platform::decodeName(tmp / "old"));
    window.browsePane().DirectoryListBox1Change();
    EXPECT_TRUE(ui.rendir->isEnabled());
    ui.BitBtn3->setEnabled(true);
    prompts.inputs.emplace_back(U"new");
    QTest::mouseClick(ui.rendir, Qt::LeftButton);
    EXPECT_TRUE(tmp.exists("new/inner"));
    EXPECT_EQ(ui.DirectoryListBox1->directory(), platform::decodeName(tmp / "new"));
    EXPECT_FALSE(ui.BitBtn3->isEnabled());

    prompts.inputs.emplace_back(U"a..b");
    QTest::mouseClick(ui.rendir, Qt::LeftButton);
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "CHAR_INVALIDI");
}

TEST_F(FileListCommands, AtTheRootTheDirectoryCannotBeRenamed)
{
    ui.DirectoryListBox1->setDirectory(U"/");
    window.browsePane().DirectoryListBox1Change();
    EXPECT_FALSE(ui.rendir->isEnabled());
    ui.BitBtn3->setEnabled(true);
    ui.RinominalaDirectory1->trigger();
    EXPECT_FALSE(ui.BitBtn3->isEnabled());
    EXPECT_TRUE(prompts.requests.empty());
}

TEST_F(FileListCommands, PropertiesWithoutAFileManagerShowTheProgramsOwnDialog)
{
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr)
        GTEST_SKIP() << "a session bus may have a file manager that answers";
    tmp.file("song.mp3", "12345");
    reload();
    ui.FileListBox1->setFocusedRow(0);
    window.browsePane().Propriet1Click();
    ASSERT_EQ(dialogs.opened, 1);
    EXPECT_TRUE(dialogs.texts.contains(QStringLiteral("song.mp3")));
    EXPECT_TRUE(dialogs.texts.contains(QStringLiteral("5 byte")));
}

TEST(PropertiesText, PermissionsAndAttributes)
{
    EXPECT_EQ(app::PropertiesDialog::permissionText(0755), QStringLiteral("rwxr-xr-x"));
    EXPECT_EQ(app::PropertiesDialog::permissionText(0640), QStringLiteral("rw-r-----"));
    EXPECT_EQ(app::PropertiesDialog::attributeText(0), QStringLiteral("-"));
    EXPECT_EQ(app::PropertiesDialog::attributeText(1 | 2 | 32), QStringLiteral("RHA"));
}

TEST_F(FileListCommands, OpenWithNothingToOpenTheFileSaysSo)
{
    tmp.file("song.xyz");
    reload();
    ui.FileListBox1->setFocusedRow(0);
    window.browsePane().Apri1Click();
    ASSERT_EQ(dialogs.urls.size(), 1);
    EXPECT_TRUE(prompts.messages.empty()) << "a file that opened needs no word";

    dialogs.openWorks = false;
    window.browsePane().Apri1Click();
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "APRI_FALLITO");
    EXPECT_NE(prompts.messages[0].text.find(platform::decodeName(tmp / "song.xyz")),
        std::u32string::npos);
}

} // namespace
} // namespace quorvane::test
