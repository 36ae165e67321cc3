// The special modes of the "Avanzate" menu driven through their dialogs, then run on a real
// directory.
#include "file_list_wait.h"
#include "window_controls.h"

#include "support/failing_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "app/dialog_host.h"
#include "app/modes/tsort.h"
#include "app/tform1.h"
#include "platform/name_codec.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>

namespace quorvane::test {
namespace {

/// Presses OK as a person would: the dialog may refuse to close.
int pressOk(QDialog& dialog)
{
    dialog.accept();
    return dialog.result();
}

int pressCancel(QDialog& dialog)
{
    dialog.reject();
    return dialog.result();
}

/// Answers each dialog the window opens with the next scripted step.
class ScriptedDialogs final : public app::DialogHost
{
public:
    using Step = std::function<int(QDialog&)>;
    int exec(QDialog& dialog) override
    {
        opened.push_back(dialog.objectName().toStdString());
        if (steps.empty())
            return pressCancel(dialog);
        const Step step = steps.front();
        steps.pop_front();
        return step(dialog);
    }
    std::deque<Step> steps;
    std::vector<std::string> opened;
};

template<typename T>
T* in(const QDialog& dialog, const char* name)
{
    return control<T>(dialog, name);
}

QStringList items(const QListWidget& list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

class ModesTest : public ::testing::Test
{
protected:
    ModesTest()
        : window(prompts, fs, dialogs, platform::decodeName(tmp.path()))
    {
        // The names as the list or the layout give them: capitals are another option's work.
        ui.ComboBox1->setCurrentIndex(0);
    }

    void reload()
    {
        ui.FileListBox1->update();
        EXPECT_TRUE(test::waitForFileList(*ui.FileListBox1));
    }
    void run() { QTest::mouseClick(ui.BitBtn1, Qt::LeftButton); }
    QAction* item(const char* name) { return control<QAction>(window, name); }
    /// Arms numbering with "Seleziona l'ordine" ticked, taking the order as offered.
    void armNumberingInOrderOffered()
    {
        dialogs.steps.emplace_back([](QDialog& form) {
            in<QCheckBox>(form, "CheckBox1")->setChecked(true);
            return pressOk(form);
        });
        dialogs.steps.emplace_back(pressOk);
        item("NumerazioneFiles1")->trigger();
        ASSERT_TRUE(item("NumerazioneFiles1")->isChecked());
        ASSERT_TRUE(window.runState().NumCustomOrder);
    }

    TempDir tmp;
    ScriptedPrompts prompts;
    FailingFileSystem fs;
    ScriptedDialogs dialogs;
    app::TForm1 window;
    WindowControls ui { window };
};

TEST_F(ModesTest, NumberingOffersTheDefaultLayoutNumbersTheSortedFilesAndDisarms)
{
    tmp.file("b.mp3");
    tmp.file("a.mp3");
    reload();
    dialogs.steps.emplace_back([](QDialog& form) {
        EXPECT_EQ(items(*in<QListWidget>(form, "ListBox1")),
            (QStringList { "Numerazione", "Separatore", "Filename" }));
        EXPECT_EQ(in<QLineEdit>(form, "Edit1")->text(), QStringLiteral("NN - Filename.ext"));
        EXPECT_EQ(in<QLineEdit>(form, "Edit2")->text(), QStringLiteral("1"));
        EXPECT_EQ(in<QLabel>(form, "Label1")->text(), QStringLiteral("2 cifre"));
        return pressOk(form);
    });
    item("NumerazioneFiles1")->trigger();
    ASSERT_TRUE(item("NumerazioneFiles1")->isChecked());

    run();
    EXPECT_EQ(tmp.namesIn(), (std::vector<std::string> { "01 - a.mp3", "02 - b.mp3" }));
    EXPECT_FALSE(item("NumerazioneFiles1")->isChecked()) << "a run disarms the mode";

    // Numbering again where it was just used warns, and the toggle disarms.
    item("NumerazioneFiles1")->trigger();
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages.back().id, "NUMERAZIONE_APPENA_USATA");
    EXPECT_FALSE(item("NumerazioneFiles1")->isChecked()) << "an unscripted dialog is a Cancel";
}

TEST_F(ModesTest, NumberingFieldsAreCleanedOrRefusedAndTheLayoutDrivesTheSlider)
{
    dialogs.steps.emplace_back([this](QDialog& form) {
        auto* layout = in<QListWidget>(form, "ListBox1");
        layout->setCurrentRow(0); // the number element
        control<QToolButton>(form, "SpeedButton2")->click();
        EXPECT_FALSE(in<QSlider>(form, "TrackBar1")->isEnabled()) << "no number, no digits";
        EXPECT_EQ(in<QLabel>(form, "Label1")->text(), QStringLiteral("Off"));
        EXPECT_EQ(in<QLineEdit>(form, "Edit1")->text(), QStringLiteral(" - Filename.ext"));

        in<QLineEdit>(form, "Edit2")->setText(QStringLiteral("99999999999"));
        EXPECT_EQ(pressOk(form), QDialog::Rejected) << "out of range keeps the dialog open";
        EXPECT_EQ(prompts.messages.back().text, U"'99999999999' is not a valid integer value");

        in<QLineEdit>(form, "Edit2")->setText(QStringLiteral("a1b2"));
        in<QLineEdit>(form, "Edit3")->setText(QStringLiteral("-1"));
        return pressOk(form);
    });
    item("NumerazioneFiles1")->trigger();
    EXPECT_EQ(prompts.messages.back().id, "CHAR_NUMERAZIONE_NON_VALIDI");
    EXPECT_TRUE(prompts.messages.back().text.ends_with(U"12"));
    EXPECT_EQ(window.runState().NumStart, 12);
    EXPECT_EQ(window.runState().NumStep, -1);
    EXPECT_EQ(window.runState().NumLayout,
        (engine::NumberingLayout {
            { engine::LayoutKind::Separator, {} }, { engine::LayoutKind::FileName, {} } }));
}

TEST_F(ModesTest, ACustomOrderNumbersTheNamesInTheOrderChosenAndSortsNaturally)
{
    tmp.file("track10.ogg", "ten");
    tmp.file("track2.ogg", "two");
    tmp.file("track1.ogg", "one");
    reload();
    window.runState().NumStep = 5;
    window.runState().NumDigits = 3;
    dialogs.steps.emplace_back([](QDialog& form) {
        in<QCheckBox>(form, "CheckBox1")->setChecked(true);
        return pressOk(form);
    });
    dialogs.steps.emplace_back([](QDialog& sort) {
        EXPECT_EQ(
            items(*in<QListWidget>(sort, "StringGrid1")), (QStringList { "001", "006", "011" }));
        auto* names = in<QListWidget>(sort, "StringGrid2");
        // The files come in the order of the file list, which the name sort keeps.
        EXPECT_EQ(items(*names), (QStringList { "track1.ogg", "track2.ogg", "track10.ogg" }));
        static_cast<app::TSort&>(sort).reverse();
        static_cast<app::TSort&>(sort).sortByName();
        EXPECT_EQ(items(*names), (QStringList { "track1.ogg", "track2.ogg", "track10.ogg" }));
        static_cast<app::TSort&>(sort).reverse();
        return pressOk(sort);
    });
    item("NumerazioneFiles1")->trigger();
    EXPECT_FALSE(ui.CheckBox7->isEnabled()) << "a custom order holds the directory boxes";

    run();
    EXPECT_EQ(tmp.read("001 - track10.ogg"), "ten");
    EXPECT_EQ(tmp.read("006 - track2.ogg"), "two");
    EXPECT_EQ(tmp.read("011 - track1.ogg"), "one");
    EXPECT_TRUE(ui.CheckBox7->isEnabled()) << "the run frees them";
}

TEST_F(ModesTest, AnOrderChosenInOneDirectoryIsDroppedWhenTheDirectoryChanges)
{
    tmp.file("a/x.ogg", "ax");
    tmp.file("a/y.ogg", "ay");
    tmp.file("b/x.ogg", "bx");
    tmp.file("b/z.ogg", "bz");
    window.browsePane().openDirectory(platform::decodeName(tmp / "a"));
    reload();
    ASSERT_NO_FATAL_FAILURE(armNumberingInOrderOffered());

    window.browsePane().openDirectory(platform::decodeName(tmp / "b"));
    reload();
    EXPECT_FALSE(item("NumerazioneFiles1")->isChecked()) << "the order was a's";
    EXPECT_FALSE(window.runState().NumCustomOrder);
    EXPECT_TRUE(ui.CheckBox7->isEnabled()) << "nothing holds the directory boxes any more";
    run();
    EXPECT_EQ(tmp.namesIn("b"), (std::vector<std::string> { "x.ogg", "z.ogg" }));
    EXPECT_EQ(tmp.namesIn("a"), (std::vector<std::string> { "x.ogg", "y.ogg" }));
}

TEST_F(ModesTest, RemovingNumbersInsteadOfNumberingDropsTheOrderChosenForTheNumbering)
{
    tmp.file("01 - a.mp3", "a");
    reload();
    ASSERT_NO_FATAL_FAILURE(armNumberingInOrderOffered());

    // A file the order never saw, then the removal armed in place of the numbering.
    tmp.file("02 - b.mp3", "b");
    reload();
    dialogs.steps.emplace_back(pressOk);
    item("EliminaNumerazioneFiles1")->trigger();
    ASSERT_TRUE(item("EliminaNumerazioneFiles1")->isChecked());
    EXPECT_FALSE(item("NumerazioneFiles1")->isChecked());
    EXPECT_FALSE(window.runState().NumCustomOrder) << "the order belonged to the numbering";
    EXPECT_TRUE(ui.CheckBox7->isEnabled()) << "nothing holds the directory boxes any more";
    run();
    const std::vector<std::string> names = tmp.namesIn();
    EXPECT_EQ(std::ranges::count(names, "01 - a.mp3") + std::ranges::count(names, "02 - b.mp3"), 0)
        << "every file loses its number, not only those the order listed";
}

TEST_F(ModesTest, RemovingNumbersKeepsTheSliderOnCancelAndExcludesNumbering)
{
    tmp.file("03 - esempio.mp3");
    reload();
    dialogs.steps.emplace_back([](QDialog& form) {
        in<QSlider>(form, "TrackBar1")->setValue(4);
        EXPECT_EQ(in<QLabel>(form, "Label1")->text(),
            QStringLiteral("Elimina una sequenza numerica con almeno 4 cifre consecutive"));
        return pressCancel(form);
    });
    item("EliminaNumerazioneFiles1")->trigger();
    EXPECT_FALSE(item("EliminaNumerazioneFiles1")->isChecked());
    EXPECT_EQ(window.runState().NumDigits, 4) << "the slider acts at once, Cancel keeps it";

    // Numbering armed, then removal confirmed: only the removal stays.
    dialogs.steps.emplace_back(pressOk);
    item("NumerazioneFiles1")->trigger();
    ASSERT_TRUE(item("NumerazioneFiles1")->isChecked());
    dialogs.steps.emplace_back([](QDialog& form) {
        in<QSlider>(form, "TrackBar1")->setValue(2);
        in<QRadioButton>(form, "RadioButton2")->click();
        return pressOk(form);
    });
    item("EliminaNumerazioneFiles1")->trigger();
    EXPECT_TRUE(item("EliminaNumerazioneFiles1")->isChecked());
    EXPECT_FALSE(item("NumerazioneFiles1")->isChecked());

    run();
    EXPECT_EQ(tmp.namesIn(), std::vector<std::string> { "esempio.mp3" });
    EXPECT_FALSE(item("EliminaNumerazioneFiles1")->isChecked());
}

TEST_F(ModesTest, SequencesArmOnlyWithTextsAndApplyTogether)
{
    tmp.file("xaxb.dat");
    reload();
    prompts.inputs = { U"ab", std::nullopt };
    item("SostSeqCar1")->trigger();
    EXPECT_FALSE(item("SostSeqCar1")->isChecked()) << "the second box was cancelled";

    prompts.inputs = { U"ab", U"c" };
    item("SostSeqCar1")->trigger();
    ASSERT_TRUE(item("SostSeqCar1")->isChecked());
    EXPECT_EQ(prompts.requests.back().caption, U"Sostituisci la stringa: \"ab\"");
    prompts.inputs = { U"x" };
    item("EliminaSequenzaCaratteri1")->trigger();
    ASSERT_TRUE(item("EliminaSequenzaCaratteri1")->isChecked());

    run();
    EXPECT_EQ(tmp.namesIn(), std::vector<std::string> { "c.dat" });
    EXPECT_FALSE(item("SostSeqCar1")->isChecked());
    EXPECT_FALSE(item("EliminaSequenzaCaratteri1")->isChecked());
}

/// Chooses `path` in the open dialog.
ScriptedDialogs::Step choose(const std::string& path)
{
    return [path](QDialog& dialog) {
        auto& open = dynamic_cast<QFileDialog&>(dialog);
        open.selectFile(QString::fromStdString(path));
        return pressOk(open);
    };
}

TEST_F(ModesTest, AListWithTooFewNamesAsksThenKeepsTheRestAndRenamesInTheDraggedOrder)
{
    tmp.file("a.mp3", "A");
    tmp.file("b.mp3", "B");
    tmp.file("c.mp3", "C");
    TempDir lists;
    lists.file("names.txt", "Intro\r\n\r\nOutro\r\n");
    reload();
    dialogs.steps.emplace_back(choose(lists.path() + "/names.txt"));
    dialogs.steps.emplace_back([this](QDialog& align) {
        auto* sources = in<QListWidget>(align, "StringGrid1");
        EXPECT_EQ(items(*sources), (QStringList { "a.mp3", "b.mp3", "c.mp3" }));
        EXPECT_EQ(
            items(*in<QListWidget>(align, "StringGrid2")), (QStringList { "Intro", "Outro", "" }));
        // «b.mp3» dragged above «a.mp3».
        sources->insertItem(0, sources->takeItem(1));
        prompts.buttons.push_back(engine::Button::Yes);
        EXPECT_EQ(pressOk(align), QDialog::Rejected) << "an incomplete table stays open";
        EXPECT_EQ(prompts.questions.back().id, "TABELLA_INCOMPLETA");
        EXPECT_EQ(in<QListWidget>(align, "StringGrid2")->item(2)->text(), QStringLiteral("c"));
        return pressOk(align);
    });
    item("RinominadaFile1")->trigger();
    ASSERT_TRUE(item("RinominadaFile1")->isChecked());
    EXPECT_FALSE(ui.CheckBox7->isEnabled());
    EXPECT_FALSE(ui.CheckBox7->isChecked());

    run();
    EXPECT_EQ(tmp.read("Intro.mp3"), "B");
    EXPECT_EQ(tmp.read("Outro.mp3"), "A");
    EXPECT_EQ(tmp.read("c.mp3"), "C");
    EXPECT_FALSE(item("RinominadaFile1")->isChecked());
}

TEST_F(ModesTest, AFileThatIsNoListLeavesTheModeUnarmedWithTheBoxesFree)
{
    tmp.file("a.mp3");
    reload();
    TempDir lists;
    lists.file("cover.jpg", std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11));
    dialogs.steps.emplace_back(choose(lists.path() + "/cover.jpg"));
    item("RinominadaFile1")->trigger();
    EXPECT_FALSE(item("RinominadaFile1")->isChecked());
    EXPECT_TRUE(ui.CheckBox7->isEnabled());
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages.back().id, "LISTA_NON_VALIDA");
    EXPECT_EQ(dialogs.opened.size(), 1U) << "no alignment dialog for a file that is no list";
}

TEST_F(ModesTest, AListThatWouldHideAFileIsRefusedNamingTheLine)
{
    tmp.file("a.mp3");
    tmp.file("b.mp3");
    reload();
    TempDir lists;
    lists.file("names.txt", "Intro\r\n.hidden\r\n");
    dialogs.steps.emplace_back(choose(lists.path() + "/names.txt"));
    item("RinominadaFile1")->trigger();
    EXPECT_FALSE(item("RinominadaFile1")->isChecked());
    EXPECT_TRUE(ui.CheckBox7->isEnabled());
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages.back().id, "LISTA_NON_VALIDA");
    EXPECT_NE(prompts.messages.back().text.find(U"line 2 begins with"), std::u32string::npos);
    EXPECT_EQ(dialogs.opened.size(), 1U) << "no alignment dialog";
}

class CdPlayerTest : public ModesTest
{
public:
    CdPlayerTest(const CdPlayerTest&) = delete;
    CdPlayerTest& operator=(const CdPlayerTest&) = delete;

protected:
    CdPlayerTest()
        : m_config(qgetenv("XDG_CONFIG_HOME"))
        , m_temp(qgetenv("TMPDIR"))
    {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
        qputenv("TMPDIR", QByteArray::fromStdString(temp.path()));
    }
    ~CdPlayerTest() override
    {
        qputenv("XDG_CONFIG_HOME", m_config);
        qputenv("TMPDIR", m_temp);
    }
    QByteArray m_config;
    QByteArray m_temp;
    TempDir config;
    TempDir temp;
};

TEST_F(CdPlayerTest, AnAlbumBecomesTheListAndABadTrackCountKeepsTheDialogOpen)
{
    config.file("Quorvane/cdplayer.ini",
        "[7A0B3C2D]\r\ntitle=Live\r\nnumtracks=2\r\n0=Intro\r\n1=Outro\r\n"
        "[BAD]\nartist=X\nnumtracks=two\n");
    tmp.file("t1.mp3");
    tmp.file("t2.mp3");
    reload();
    dialogs.steps.emplace_back([this](QDialog& albums) {
        auto* grid = in<QTableWidget>(albums, "DBGrid");
        EXPECT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("--"));
        grid->setCurrentCell(1, 0);
        control<QPushButton>(albums, "Button1")->click();
        EXPECT_EQ(albums.result(), QDialog::Rejected) << "a bad count keeps the dialog open";
        EXPECT_EQ(prompts.messages.back().text, U"'two' is not a valid integer value");
        grid->setCurrentCell(0, 0);
        EXPECT_EQ(in<QLineEdit>(albums, "Edit1")->text(), QStringLiteral("-- - Live"));
        control<QPushButton>(albums, "Button1")->click();
        return albums.result();
    });
    dialogs.steps.emplace_back([](QDialog& align) {
        EXPECT_EQ(
            items(*in<QListWidget>(align, "StringGrid2")), (QStringList { "Intro", "Outro" }));
        return pressOk(align);
    });
    item("RinominadaCDDB1")->trigger();
    ASSERT_TRUE(item("RinominadaCDDB1")->isChecked());
    EXPECT_TRUE(temp.namesIn().empty()) << "no list file in the shared temporary directory";

    run();
    EXPECT_EQ(tmp.namesIn(), (std::vector<std::string> { "Intro.mp3", "Outro.mp3" }));
}

TEST_F(CdPlayerTest, AMissingTitleLeavesItsTrackRowEmptyAndTheLaterTitlesInPlace)
{
    config.file("Quorvane/cdplayer.ini", "[Gap]\nnumtracks=3\n0=Intro\n2=Outro\n");
    tmp.file("t1.mp3", "1");
    tmp.file("t2.mp3", "2");
    tmp.file("t3.mp3", "3");
    reload();
    dialogs.steps.emplace_back([](QDialog& albums) {
        in<QTableWidget>(albums, "DBGrid")->setCurrentCell(0, 0);
        control<QPushButton>(albums, "Button1")->click();
        return albums.result();
    });
    dialogs.steps.emplace_back([this](QDialog& align) {
        EXPECT_EQ(
            items(*in<QListWidget>(align, "StringGrid2")), (QStringList { "Intro", "", "Outro" }));
        prompts.buttons.push_back(engine::Button::Yes);
        EXPECT_EQ(pressOk(align), QDialog::Rejected) << "the missing title is asked about";
        return pressOk(align);
    });
    item("RinominadaCDDB1")->trigger();
    ASSERT_TRUE(item("RinominadaCDDB1")->isChecked());

    run();
    EXPECT_EQ(tmp.read("Intro.mp3"), "1");
    EXPECT_EQ(tmp.read("t2.mp3"), "2");
    EXPECT_EQ(tmp.read("Outro.mp3"), "3");
}

TEST_F(CdPlayerTest, NoDatabaseSaysWhereItLookedAndOffersToChooseTheFile)
{
    prompts.buttons.push_back(engine::Button::No);
    item("RinominadaCDDB1")->trigger();
    EXPECT_FALSE(item("RinominadaCDDB1")->isChecked());
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "CDPLAYER_INI_VUOTO");
    const std::u32string looked = platform::decodeName(config / "Quorvane/cdplayer.ini");
    EXPECT_NE(prompts.questions[0].text.find(looked), std::u32string::npos)
        << "the message names the file it tried";
    EXPECT_TRUE(prompts.fileRequests.empty()) << "No chooses nothing";
    EXPECT_TRUE(dialogs.opened.empty());

    // Yes: the file chosen is read, and kept for the next time.
    TempDir elsewhere;
    elsewhere.file("my.ini", "[CD]\r\ntitle=T\r\nnumtracks=1\r\n0=Zero\r\n");
    prompts.buttons.push_back(engine::Button::Yes);
    prompts.files.emplace_back(platform::decodeName(elsewhere / "my.ini"));
    item("RinominadaCDDB1")->trigger();
    EXPECT_EQ(prompts.fileRequests.size(), 1U);
    EXPECT_EQ(dialogs.opened, std::vector<std::string> { "CDPForm" });
    EXPECT_EQ(window.settingsFlags().CdPlayerIniPath, QString::fromStdString(elsewhere / "my.ini"));
    dialogs.opened.clear();
    item("RinominadaCDDB1")->trigger();
    EXPECT_EQ(dialogs.opened, std::vector<std::string> { "CDPForm" }) << "no question again";
}

TEST_F(CdPlayerTest, AnArmedListKeepsItsPairsWhateverIsOpenedOrCancelledAfterIt)
{
    tmp.file("a.mp3", "A");
    tmp.file("b.mp3", "B");
    TempDir lists;
    lists.file("names.txt", "Uno\r\nDue\r\n");
    config.file("Quorvane/cdplayer.ini", "[CD]\r\ntitle=T\r\nnumtracks=1\r\n0=Zero\r\n");
    reload();
    dialogs.steps.emplace_back(choose(lists.path() + "/names.txt"));
    dialogs.steps.emplace_back(pressOk);
    item("RinominadaFile1")->trigger();
    ASSERT_TRUE(item("RinominadaFile1")->isChecked());

    // The list fixes the order: numbering on top of it offers no order of its own.
    dialogs.steps.emplace_back([](QDialog& form) {
        EXPECT_TRUE(in<QCheckBox>(form, "CheckBox1")->isHidden());
        return pressCancel(form);
    });
    item("NumerazioneFiles1")->trigger();

    // An album chosen, then its alignment cancelled: the list armed before is untouched.
    dialogs.steps.emplace_back([](QDialog& albums) {
        in<QTableWidget>(albums, "DBGrid")->setCurrentCell(0, 0);
        control<QPushButton>(albums, "Button1")->click();
        return albums.result();
    });
    dialogs.steps.emplace_back(pressCancel);
    item("RinominadaCDDB1")->trigger();
    EXPECT_FALSE(item("RinominadaCDDB1")->isChecked());
    ASSERT_TRUE(item("RinominadaFile1")->isChecked());
    EXPECT_FALSE(ui.CheckBox7->isEnabled()) << "the list still holds the directory boxes";

    run();
    EXPECT_EQ(tmp.read("Uno.mp3"), "A");
    EXPECT_EQ(tmp.read("Due.mp3"), "B");
}

} // namespace
} // namespace quorvane::test
