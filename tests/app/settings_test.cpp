// The settings file: the stored layout, the start-up and exit sequences, the save-settings
// dialog, and files that cannot be used.
#include "window_controls.h"

#include "support/failing_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "app/dialog_host.h"
#include "app/settings/stored_settings.h"
#include "app/settings/tavanzate.h"
#include "app/tform1.h"
#include "platform/name_codec.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {
namespace {

/// Records links instead of opening them, and answers dialogs with a script.
class RecordingHost final : public app::DialogHost
{
public:
    int exec(QDialog& dialog) override
    {
        if (script)
            script(dialog);
        return QDialog::Accepted;
    }
    bool openUrl(const QUrl& url) override
    {
        links.push_back(url.toString());
        return true;
    }
    std::function<void(QDialog&)> script;
    std::vector<QString> links;
};

class SettingsTest : public ::testing::Test
{
protected:
    [[nodiscard]] QString iniPath() const
    {
        return QString::fromStdString(config.path() + "/Quorvane.ini");
    }
    std::unique_ptr<app::TForm1> openWindow(app::SettingsStore& store)
    {
        // No automatic update check: a test never reaches out to the network.
        prompts.buttons.push_back(engine::Button::No);
        auto window = std::make_unique<app::TForm1>(
            prompts, fs, host, platform::decodeName(work.path()), &store);
        window->show();
        return window;
    }

    TempDir config;
    TempDir work;
    ScriptedPrompts prompts;
    FailingFileSystem fs;
    RecordingHost host;
};

TEST_F(SettingsTest, EveryValueRoundTripsAndTheCoordinatesStaySwapped)
{
    app::StoredSettings written;
    written.flags = { true, true, true, true, true, true, true, true, true, 3,
        QStringLiteral("/media/cd/cdplayer.ini") };
    written.window = { 0, 50, 100, 800, 600 };
    written.directory = QStringLiteral("/srv/música");
    written.basic
        = { false, false, true, false, true, false, true, 3, true, true, false, true, false };
    written.advanced = { true, true, false, true };
    written.print.PrintTitle = true;
    written.print.PrintSizes = false;
    written.print.PrintToTextFile = true;
    {
        app::SettingsStore store(iniPath());
        app::Salva(store, written);
        ASSERT_TRUE(store.sync().isEmpty());
    }
    const std::string text = config.read("Quorvane.ini");
    EXPECT_NE(text.find("Window_X=50"), std::string::npos) << "the top edge, under X";
    EXPECT_NE(text.find("Window_Y=100"), std::string::npos) << "the left edge, under Y";

    app::SettingsStore store(iniPath());
    const app::StoredSettings read = app::Leggi(store, {});
    EXPECT_TRUE(read.keyExisted);
    EXPECT_EQ(read.window.left, 100);
    EXPECT_EQ(read.window.top, 50);
    EXPECT_EQ(read.window.width, 800);
    EXPECT_EQ(read.flags.LanguageIndex, 3);
    EXPECT_EQ(read.flags.CdPlayerIniPath, written.flags.CdPlayerIniPath);
    EXPECT_TRUE(read.flags.SavePrintOptions && read.flags.AutoCheckUpdate && read.flags.SaveOnExit);
    EXPECT_EQ(read.directory, written.directory);
    EXPECT_EQ(read.basic.Tipo_Rename, 3);
    EXPECT_EQ(std::tie(read.basic.Ogni, read.basic.Spazi, read.basic.Attributi, read.basic.R,
                  read.basic.S),
        std::tie(written.basic.Ogni, written.basic.Spazi, written.basic.Attributi, written.basic.R,
            written.basic.S));
    EXPECT_EQ(read.advanced.Preserve_dotexp, false);
    EXPECT_EQ(read.advanced.DOS_Names, true);
    EXPECT_EQ(read.print, written.print);
}

TEST_F(SettingsTest, MissingMalformedAndRemovedValuesTakeTheirDefaults)
{
    app::SettingsStore store(iniPath());
    EXPECT_FALSE(app::Leggi(store, {}).keyExisted);
    EXPECT_TRUE(app::Leggi(store, {}).advanced.Preserve_dotexp);

    store.writeString({}, QStringLiteral("Salvate"), QStringLiteral("2"));
    store.writeString(
        QStringLiteral("Opzioni_Base"), QStringLiteral("Tipo_Rename"), QStringLiteral("x3"));
    store.writeString(QStringLiteral("Window"), QStringLiteral("Window_W"), QStringLiteral(" 900"));
    store.writeString(
        QStringLiteral("Opzioni_Base"), QStringLiteral("Ogni"), QStringLiteral("0x0"));
    app::StoredSettings read = app::Leggi(store, {});
    EXPECT_TRUE(read.flags.SettingsEnabled) << "\"2\" is true";
    EXPECT_EQ(read.basic.Tipo_Rename, 1);
    EXPECT_EQ(read.window.width, 640);
    EXPECT_TRUE(read.basic.Ogni);

    // After a removal only the key's own values are left: every table default applies.
    app::StoredSettings all;
    all.flags.SaveWindow = all.flags.SaveBasicOptions = all.flags.SaveDirectory = true;
    all.window = { 2, 7, 7, 700, 700 };
    app::Salva(store, all);
    store.writeString({}, QStringLiteral("Version"), app::programVersion());
    app::removeStoredSettings(store);
    ASSERT_TRUE(store.sync().isEmpty());
    read = app::Leggi(store, {});
    EXPECT_TRUE(read.keyExisted);
    EXPECT_EQ(std::tie(read.window.left, read.window.top, read.window.width, read.window.height),
        std::make_tuple(0, 0, 640, 480));
    EXPECT_TRUE(read.basic.Spazi && read.basic.SubDir && read.basic.Trattini);
    EXPECT_FALSE(read.basic.Attributi) << "\"Modifica gli Attributi\" comes up selected";
    EXPECT_EQ(app::SettingsStore(iniPath()).readString({}, QStringLiteral("Version"), {}),
        app::programVersion());
}

TEST_F(SettingsTest, AMaximisedOrUnsavedWindowKeepsItsLastNormalPlacement)
{
    app::SettingsStore store(iniPath());
    app::StoredSettings s;
    s.flags.SaveWindow = true;
    s.window = { 0, 10, 20, 700, 500 };
    app::Salva(store, s);
    s.window = { 2, 0, 0, 1920, 1080 };
    app::Salva(store, s);
    s.flags.SaveWindow = false;
    s.window = { 0, 99, 99, 999, 999 };
    app::Salva(store, s);
    const app::StoredSettings read = app::Leggi(store, {});
    EXPECT_EQ(read.window.state, 2);
    EXPECT_EQ(std::tie(read.window.top, read.window.left, read.window.width),
        std::make_tuple(10, 20, 700));
}

TEST_F(SettingsTest, AStoredPlacementBeyondTheScreensIsBroughtBackOntoThem)
{
    // Hand-edited or left by a screen that is gone: sizes that overflow a rectangle, places
    // far off every screen, a title bar above the top edge.
    const struct
    {
        const char* x; // the top edge
        const char* y; // the left edge
        const char* w;
        const char* h;
    } stored[] = {
        { "0", "0", "2147483647", "2147483647" },
        { "-2147483648", "-2147483648", "700", "500" },
        { "2147483000", "2147483000", "2147483647", "900" },
        { "-20", "40", "700", "500" },
        { "100", "-5000", "1", "1" },
    };
    for (const auto& s : stored) {
        config.file("Quorvane.ini",
            std::string("[General]\nVersion=") + app::programVersion().toStdString()
                + "\n[Window]\nWindow_State=0\nWindow_X=" + s.x + "\nWindow_Y=" + s.y
                + "\nWindow_W=" + s.w + "\nWindow_H=" + s.h + "\n");
        app::SettingsStore store(iniPath());
        auto window = openWindow(store);
        const QRect frame = window->frameGeometry();
        const QRect screen = window->screen()->availableGeometry();
        SCOPED_TRACE(std::string(s.x) + "," + s.y + " " + s.w + "x" + s.h);
        EXPECT_TRUE(screen.contains(frame)) << "frame " << frame.x() << "," << frame.y() << " "
                                            << frame.width() << "x" << frame.height();
        EXPECT_GE(window->width(), 640);
        EXPECT_GE(window->height(), 480);
        window->hide();
    }
}

TEST_F(SettingsTest, RestartsBringTheWindowBackWhereItWasClosed)
{
    // The offscreen platform gives windows a frame, as a window manager does: the frame is
    // what is stored and what comes back, neither moving nor growing by its borders.
    QRect closedAt;
    for (int restart = 0; restart < 4; ++restart) {
        app::SettingsStore store(iniPath());
        auto window = openWindow(store);
        if (restart == 0)
            window->setGeometry(60, 50, 700, 500);
        else
            EXPECT_EQ(window->frameGeometry(), closedAt) << "restart " << restart;
        closedAt = window->frameGeometry();
        window->close();
    }
    app::SettingsStore store(iniPath());
    const app::StoredSettings read = app::Leggi(store, {});
    EXPECT_EQ(
        QRect(read.window.left, read.window.top, read.window.width, read.window.height), closedAt)
        << "the file holds the outer placement";
}

TEST_F(SettingsTest, FirstStartAsksThenTheExitWritesAndTheNextStartRestores)
{
    const std::string other = work.path() + "/sub";
    work.file("sub/x");
    {
        app::SettingsStore store(iniPath());
        auto window = openWindow(store);
        ASSERT_EQ(prompts.questions.size(), 1U);
        EXPECT_EQ(prompts.questions[0].id, "AUTO_CHECK");
        EXPECT_FALSE(QFile::exists(iniPath())) << "nothing is written before the exit";
        WindowControls ui(*window);
        ui.CheckBox8->setChecked(true);
        ui.ComboBox1->setCurrentIndex(3);
        window->browsePane().openDirectory(platform::decodeName(other));
        window->close();
    }
    ASSERT_EQ(host.links.size(), 1U);
    EXPECT_TRUE(host.links[0].startsWith(QStringLiteral("mailto:"))) << "the first exit's mail";

    prompts.questions.clear();
    app::SettingsStore store(iniPath());
    auto window = openWindow(store);
    EXPECT_TRUE(prompts.questions.empty()) << "an ordinary start asks nothing";
    WindowControls ui(*window);
    EXPECT_TRUE(ui.CheckBox8->isChecked());
    EXPECT_EQ(ui.ComboBox1->currentIndex(), 3);
    EXPECT_EQ(window->browsePane().directory(), platform::decodeName(other));
    window->close();
    EXPECT_EQ(host.links.size(), 1U) << "later exits open no mail";
}

TEST_F(SettingsTest, TheDialogEditsTheSwitchesAtOnceAndRemovesTheStoredValues)
{
    app::SettingsStore store(iniPath());
    auto window = openWindow(store);
    host.script = [&](QDialog& dialog) {
        auto* remove = control<QPushButton>(dialog, "Button2");
        auto* saveNow = control<QPushButton>(dialog, "Button1");
        EXPECT_FALSE(remove->isEnabled()) << "no key yet";
        EXPECT_FALSE(saveNow->isEnabled()) << "saving is off";
        control<QRadioButton>(dialog, "RadioButton2")->click();
        EXPECT_TRUE(window->settingsFlags().SettingsEnabled);
        control<QCheckBox>(dialog, "CheckBox4")->click();
        saveNow->click();
        EXPECT_TRUE(remove->isEnabled());
        EXPECT_NE(config.read("Quorvane.ini").find("Opzioni_Base"), std::string::npos);
        remove->click();
        EXPECT_FALSE(window->settingsFlags().SettingsEnabled);
        EXPECT_FALSE(saveNow->isEnabled());
        EXPECT_TRUE(control<QCheckBox>(dialog, "CheckBox8")->isEnabled());
    };
    control<QAction>(*window, "Impostazioni2")->trigger();
    EXPECT_EQ(config.read("Quorvane.ini").find("Opzioni_Base"), std::string::npos);
    EXPECT_TRUE(window->settingsFlags().SaveBasicOptions) << "the flags in memory stay";
}

TEST_F(SettingsTest, ValuesAreStringsReadBackExactlyAndOlderFilesReadAsBefore)
{
    const QString kValues[] = { QStringLiteral("/a,b"), QStringLiteral("/x;y=z"),
        QStringLiteral(" lead"), QStringLiteral("trail\t"), QStringLiteral("a\"b\""),
        QStringLiteral("back\\slash\\"), QStringLiteral("@at"), QStringLiteral("tab\tnl\ncr\r"),
        QStringLiteral("\x01"
                       "1f"),
        QStringLiteral("música 日本 \U0001F600"), QString() };
    const auto name = [](std::size_t i) { return QStringLiteral("v%1").arg(i); };
    {
        // How the program wrote its values until now.
        QSettings older(iniPath(), QSettings::IniFormat);
        for (std::size_t i = 0; i < std::size(kValues); ++i)
            older.setValue(QStringLiteral("Opzioni_Base/") + name(i), kValues[i]);
    }
    {
        app::SettingsStore store(iniPath());
        for (std::size_t i = 0; i < std::size(kValues); ++i)
            EXPECT_EQ(
                store.readString(QStringLiteral("Opzioni_Base"), name(i), QStringLiteral("?")),
                kValues[i])
                << "older file, value " << i;
        // A name that is not UTF-8 carries its bytes as lone surrogates.
        const QString bytes = QStringLiteral("/d") + QChar(0xDCFF) + QChar(0xDC80) + u'a';
        store.writeString({}, QStringLiteral("Directory"), bytes);
        for (std::size_t i = 0; i < std::size(kValues); ++i)
            store.writeString(QStringLiteral("Window"), name(i), kValues[i]);
        ASSERT_TRUE(store.sync().isEmpty());
        const app::SettingsStore again(iniPath());
        EXPECT_EQ(again.readString({}, QStringLiteral("Directory"), {}), bytes);
        const QSettings older(iniPath(), QSettings::IniFormat);
        for (std::size_t i = 0; i < std::size(kValues); ++i) {
            EXPECT_EQ(again.readString(QStringLiteral("Window"), name(i), QStringLiteral("?")),
                kValues[i])
                << "value " << i;
            EXPECT_EQ(older.value(QStringLiteral("Window/") + name(i)).toString(), kValues[i])
                << "an older version reads value " << i;
        }
    }

    // A directory typed into the file by hand comes back; so does one whose name is not
    // UTF-8, stored by the exit.
    const std::string typed = work.path() + "/a,b";
    const std::string bytes = work.path() + "/d\xff\x80";
    work.dir("a,b");
    work.dir("d\xff\x80");
    config.file("Quorvane.ini",
        "[General]\nVersion=" + app::programVersion().toStdString()
            + "\nSalva_Directory=1\nSalva_Uscita=1\nSalvate=1\nDirectory=" + typed + "\n");
    for (const std::string& expected : { typed, bytes }) {
        app::SettingsStore store(iniPath());
        auto window = openWindow(store);
        EXPECT_EQ(platform::encodeName(window->browsePane().directory()), expected);
        window->browsePane().openDirectory(platform::decodeName(bytes));
        window->close();
    }
}

TEST_F(SettingsTest, AFileWithAByteOrderMarkReadsAsTheSameSettings)
{
    config.file("Quorvane.ini",
        "\xEF\xBB\xBF[General]\nVersion=" + app::programVersion().toStdString()
            + "\nSalvate=1\nSalva_Uscita=1\nSalva_Opzioni_Base=1\nLanguage=0\n[Opzioni_Base]\nTipo_"
              "Rename=3\n");
    {
        app::SettingsStore store(iniPath());
        EXPECT_TRUE(store.unusableReason().isEmpty());
        auto window = openWindow(store);
        EXPECT_TRUE(prompts.messages.empty()) << "nothing to warn about";
        EXPECT_EQ(WindowControls(*window).ComboBox1->currentIndex(), 3);
        WindowControls(*window).ComboBox1->setCurrentIndex(2);
        window->saveSettings(); // "Salva adesso" says when the file cannot be written
        EXPECT_TRUE(prompts.messages.empty()) << "the file was written";
    }
    app::SettingsStore store(iniPath());
    EXPECT_EQ(
        store.readInteger(QStringLiteral("Opzioni_Base"), QStringLiteral("Tipo_Rename"), 0), 2)
        << "the exit's save is in the file";
}

TEST_F(SettingsTest, AFileThatCannotBeUsedIsSaidOnceAndNeverWritten)
{
    // A directory where the file should be.
    config.file("Quorvane.ini/keep");
    app::SettingsStore store(iniPath());
    EXPECT_FALSE(store.unusableReason().isEmpty());
    auto window = openWindow(store);
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "SETTINGS");
    EXPECT_TRUE(prompts.questions.empty());
    window->close();
    EXPECT_TRUE(host.links.empty());
    EXPECT_EQ(config.namesIn("Quorvane.ini"), std::vector<std::string> { "keep" });
}

TEST_F(SettingsTest, ACorruptFileKeepsItsBytes)
{
    const std::string corrupt("[General]\nSalvate=1\n\0\x01\xff[Window\nWindow_X=5\n", 42);
    config.file("Quorvane.ini", corrupt);
    {
        app::SettingsStore store(iniPath());
        EXPECT_FALSE(store.unusableReason().isEmpty());
        auto window = openWindow(store);
        window->close();
    }
    EXPECT_EQ(config.read("Quorvane.ini"), corrupt);
}

TEST_F(SettingsTest, ASaveKilledHalfWayLeavesAReadableFile)
{
    {
        app::SettingsStore store(iniPath());
        app::StoredSettings s;
        s.flags.SaveBasicOptions = true;
        app::Salva(store, s);
        ASSERT_TRUE(store.sync().isEmpty());
    }
    for (int round = 0; round < 5; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            app::SettingsStore store(iniPath());
            app::StoredSettings s;
            s.flags.SaveBasicOptions = s.flags.SavePrintOptions = s.flags.SaveWindow = true;
            for (int i = 0;; ++i) {
                s.directory = QString(1000 + i % 100, QLatin1Char('d'));
                app::Salva(store, s);
                (void)store.sync();
            }
        }
        usleep(20000 + round * 7000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        app::SettingsStore store(iniPath());
        EXPECT_TRUE(store.unusableReason().isEmpty());
        EXPECT_TRUE(app::Leggi(store, {}).flags.SaveBasicOptions) << "round " << round;
    }
}

} // namespace
} // namespace quorvane::test
