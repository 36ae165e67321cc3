// Printing from the window: the options window, the preview, PDF, the text file and failures.
#include "app/dialog_host.h"
#include "app/print/listing_commands.h"
#include "app/print/tanteprima.h"
#include "app/print/tstampa.h"
#include "app/qt_text.h"

#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "platform/name_codec.h"
#include "platform/posix_file_system.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>

#include <sys/resource.h>

namespace quorvane::test {
namespace {

using app::ListingCommands;
using engine::ListingOptions;

/// Answers every modal dialog with `handler` instead of a person, and records their kinds.
class ScriptedHost final : public app::DialogHost
{
public:
    std::function<int(QDialog&)> handler = [](QDialog&) { return int(QDialog::Rejected); };
    QStringList shown;
    int exec(QDialog& dialog) override
    {
        shown << QString::fromLatin1(dialog.metaObject()->className());
        return handler(dialog);
    }
};

/// The listing as the core writes it, for comparing the outputs with.
std::string coreText(const ListingOptions& options, const std::string& dir)
{
    std::string text;
    const engine::LocaleListingDateFormat dates;
    const platform::Collator collator;
    const platform::PosixFileSystem fs;
    (void)engine::writeListing(fs, { platform::decodeName(dir), U"*.*" }, options, dates, collator,
        [&](std::u32string_view piece) { text += platform::toDisplayUtf8(piece); });
    return text;
}

class Printing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tmp.file("list/song.mp3", "0123456789");
        tmp.file("list/notes.txt", "abc");
        tmp.file("list/sub/inner.txt");
    }
    [[nodiscard]] engine::ListingSource source() const
    {
        return { platform::decodeName(tmp / "list"), U"*.*" };
    }

    TempDir tmp;
    platform::PosixFileSystem fs;
    ScriptedPrompts prompts;
    ScriptedHost host;
    QWidget window;
    QFont font { QStringLiteral("DejaVu Sans Mono"), 9 };
    ListingCommands commands { window, prompts, fs, host, font };
};

struct OptionBox
{
    const char* name;
    bool ListingOptions::*option;
};

TEST_F(Printing, EveryOptionBoxShowsAndWritesItsOptionAtOnce)
{
    const OptionBox boxes[] = { { "CheckBox2", &ListingOptions::PrintTitle },
        { "CheckBox3", &ListingOptions::PrintHeading },
        { "CheckBox4", &ListingOptions::PrintTotals },
        { "CheckBox5", &ListingOptions::PrintSubdirs },
        { "CheckBox6", &ListingOptions::PrintDirNames },
        { "CheckBox7", &ListingOptions::PrintSizes }, { "CheckBox8", &ListingOptions::PrintDates },
        { "CheckBox9", &ListingOptions::PrintAttributes },
        { "CheckBox12", &ListingOptions::PrintExtensions },
        { "CheckBox10", &ListingOptions::PrintToTextFile } };
    commands.options().PrintSizes = false;
    app::TStampa dialog(commands, source(), &window);
    for (const OptionBox& b : boxes) {
        auto* box = dialog.findChild<QCheckBox*>(QString::fromLatin1(b.name));
        ASSERT_NE(box, nullptr) << b.name;
        EXPECT_EQ(box->isChecked(), commands.options().*b.option) << b.name;
        box->click();
        EXPECT_EQ(box->isChecked(), commands.options().*b.option) << b.name;
    }
    // The title field is there only while the title is on, and what is typed is the title.
    dialog.CheckBox2->setChecked(false);
    EXPECT_TRUE(dialog.Edit1->isHidden());
    dialog.CheckBox2->setChecked(true);
    EXPECT_FALSE(dialog.Edit1->isHidden());
    QTest::keyClicks(dialog.Edit1, QStringLiteral("Musica"));
    EXPECT_EQ(commands.options().PrintTitleText, U"Musica");
    // Clicking the text-file box also sets the print dialog's box.
    dialog.CheckBox10->setChecked(false);
    dialog.CheckBox10->click();
    EXPECT_TRUE(commands.printToFileBox());
}

TEST_F(Printing, ThePreviewShowsTheListingInTheListingFont)
{
    host.handler = [&](QDialog& dialog) {
        auto* preview = qobject_cast<app::TAnteprima*>(&dialog);
        EXPECT_NE(preview, nullptr);
        if (preview != nullptr) {
            QString expected = QString::fromStdString(coreText(commands.options(), tmp / "list"));
            expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).chop(1);
            EXPECT_EQ(preview->Memo1->toPlainText(), expected);
            EXPECT_EQ(preview->Memo1->font(), font);
        }
        return int(QDialog::Rejected);
    };
    commands.AnteprimadiStampa1Click(source());
    EXPECT_EQ(host.shown, QStringList { QStringLiteral("quorvane::app::TAnteprima") });
}

/// Text of a PDF file as pdftotext reads it, pages separated by form feeds.
QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(
        QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        ADD_FAILURE() << "pdftotext (package poppler-utils) could not read " << pdf.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(Printing, PrintingToAPdfFileFillsPagesLineByLine)
{
    for (int i = 0; i < 150; ++i)
        tmp.file("list/file" + std::to_string(1000 + i) + ".dat", "x");
    const QString pdf = QString::fromStdString(tmp / "listing.pdf");
    host.handler = [&](QDialog& dialog) {
        auto* printDialog = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(printDialog, nullptr);
        if (printDialog == nullptr)
            return int(QDialog::Rejected);
        printDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        printDialog->printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    };
    commands.Stampa1Click(source());
    EXPECT_TRUE(prompts.messages.empty());
    const QString text = pdfText(pdf);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    // Every listing line is on the paper once, in order, with the page break between two
    // lines rather than inside one.
    const QStringList first = pages.first().split(QLatin1Char('\n'));
    EXPECT_TRUE(first.first().startsWith(QStringLiteral("Files contenuti nella Directory : ")));
    EXPECT_EQ(text.count(QStringLiteral("file1000.dat")), 1);
    EXPECT_EQ(text.count(QStringLiteral("file1149.dat")), 1);
    EXPECT_LT(
        text.indexOf(QStringLiteral("file1000.dat")), text.indexOf(QStringLiteral("file1149.dat")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Totale: 1 files e 0 sottodirectory")));
    EXPECT_TRUE(text.contains(QStringLiteral("Totale: 152 files e 1 sottodirectory")));
}

/// The smallest left and top positions, in points, of the words of a PDF file's first page.
QPointF firstWordCorner(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
        { QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
            QStringLiteral("1"), pdf, QStringLiteral("-") });
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        ADD_FAILURE() << "pdftotext (package poppler-utils) could not read " << pdf.toStdString();
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    QPointF corner(1e9, 1e9);
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
    for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
        corner.setX(std::min(corner.x(), m.captured(1).toDouble()));
        corner.setY(std::min(corner.y(), m.captured(2).toDouble()));
    }
    return corner;
}

TEST_F(Printing, TheListingKeepsSensiblePageMargins)
{
    const QString pdf = QString::fromStdString(tmp / "margins.pdf");
    host.handler = [&](QDialog& dialog) {
        auto* printDialog = qobject_cast<QPrintDialog*>(&dialog);
        if (printDialog == nullptr)
            return int(QDialog::Rejected);
        printDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        printDialog->printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    };
    commands.Stampa1Click(source());
    // 15 mm is 42.5 points; the first glyph may sit a little inside its line's box.
    const QPointF corner = firstWordCorner(pdf);
    EXPECT_GE(corner.x(), 40.0);
    EXPECT_GE(corner.y(), 40.0);
}

TEST_F(Printing, TheTextFileBoxGoesToTheSaveDialogAloneAndWritesAnExactUtf8File)
{
    tmp.file("list/caff\xC3\xA8.txt");
    commands.options().PrintToTextFile = true;
    const std::string target = tmp / "out.txt";
    QString proposed;
    host.handler = [&](QDialog& dialog) {
        if (auto* options = qobject_cast<app::TStampa*>(&dialog)) {
            options->BitBtn3->click();
            return dialog.result();
        }
        if (auto* save = qobject_cast<QFileDialog*>(&dialog)) {
            proposed = QFileInfo(save->selectedFiles().value(0)).fileName();
            save->selectFile(QString::fromStdString(target));
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    commands.N6Click(source());
    // No print dialog on the way: its printer and its PDF path have nothing to do with it.
    EXPECT_EQ(host.shown,
        (QStringList { QStringLiteral("quorvane::app::TStampa"), QStringLiteral("QFileDialog") }));
    EXPECT_EQ(proposed, QStringLiteral("StampaFile.txt"));
    EXPECT_EQ(readFile(target), coreText(commands.options(), tmp / "list"));
    EXPECT_NE(readFile(target).find("caff\xC3\xA8.txt"), std::string::npos);

    // The menu's "Stampa" follows the box as the options window left it.
    host.shown.clear();
    std::filesystem::remove(target);
    commands.Stampa1Click(source());
    EXPECT_EQ(host.shown, QStringList { QStringLiteral("QFileDialog") });
    EXPECT_TRUE(exists(target));
}

TEST_F(Printing, CancellingTheSaveDialogWritesNothing)
{
    // Asked for alone, the save dialog's Cancel leaves the options open; after a confirmed
    // print dialog whose text-file box was ticked, the options have served and close.
    for (const bool fromPrintDialog : { false, true }) {
        int optionsResult = -1;
        host.shown.clear();
        host.handler = [&](QDialog& dialog) {
            if (auto* options = qobject_cast<app::TStampa*>(&dialog)) {
                options->CheckBox10->setChecked(!fromPrintDialog);
                options->CheckBox10Click();
                options->BitBtn3->click();
                optionsResult = dialog.result();
                return dialog.result();
            }
            if (auto* save = qobject_cast<QFileDialog*>(&dialog)) {
                save->setDirectory(QString::fromStdString(tmp.path()));
                return int(QDialog::Rejected);
            }
            if (qobject_cast<QPrintDialog*>(&dialog) != nullptr) {
                dialog.findChild<QCheckBox*>(QStringLiteral("PrintToTextFile"))->setChecked(true);
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        };
        commands.N6Click(source());
        EXPECT_EQ(host.shown.contains(QStringLiteral("QPrintDialog")), fromPrintDialog);
        EXPECT_EQ(host.shown.last(), QStringLiteral("QFileDialog"));
        EXPECT_EQ(optionsResult == int(QDialog::Accepted), fromPrintDialog);
        EXPECT_EQ(tmp.namesIn(), std::vector<std::string> { "list" });
        EXPECT_TRUE(prompts.messages.empty());
    }
}

TEST_F(Printing, WithoutAPrinterThePrintDialogProposesAPdfFileNotAFolder)
{
    commands.printer().setOutputFormat(QPrinter::PdfFormat);
    commands.printer().setOutputFileName({});
    QString proposed;
    host.handler = [&](QDialog& dialog) {
        if (auto* printDialog = qobject_cast<QPrintDialog*>(&dialog))
            proposed = printDialog->printer()->outputFileName();
        return int(QDialog::Rejected);
    };
    commands.Stampa1Click(source());
    ASSERT_EQ(host.shown, QStringList { QStringLiteral("QPrintDialog") });
    EXPECT_TRUE(proposed.endsWith(QStringLiteral(".pdf"))) << proposed.toStdString();
    EXPECT_FALSE(QFileInfo(proposed).isDir()) << proposed.toStdString();
}

TEST_F(Printing, AFailedSaveKeepsTheOldFileWhole)
{
    const std::string target = tmp / "old.txt";
    writeFile(target, "the old listing\r\n");
    // Writes beyond 64 bytes fail (EFBIG), as a full disk would fail them.
    for (int i = 0; i < 40; ++i)
        tmp.file("list/a_rather_long_name_" + std::to_string(i) + ".txt");
    rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = commands.writeTextFile(source(), QString::fromStdString(target));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(target), "the old listing\r\n");
    EXPECT_EQ(tmp.namesIn(), (std::vector<std::string> { "list", "old.txt" }));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "FILE_NON_SCRITTO");
}

TEST_F(Printing, WithoutAPrinterOrADirectoryTheUserIsToldAndNothingIsMade)
{
    commands.printer().setOutputFormat(QPrinter::PdfFormat);
    commands.printer().setOutputFileName({});
    EXPECT_FALSE(commands.printListing(source()));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "NESSUNA_STAMPANTE");

    const std::string target = tmp / "never.txt";
    EXPECT_FALSE(commands.writeTextFile(
        { platform::decodeName(tmp / "missing"), U"*.*" }, QString::fromStdString(target)));
    ASSERT_EQ(prompts.messages.size(), 2U);
    EXPECT_EQ(prompts.messages[1].id, "DIR_NON_LEGGIBILE");
    EXPECT_FALSE(exists(target));
}

TEST_F(Printing, PrintingFromThePreviewClosesThePreviewAndTheOptions)
{
    const QString pdf = QString::fromStdString(tmp / "from-preview.pdf");
    host.handler = [&](QDialog& dialog) {
        if (auto* options = qobject_cast<app::TStampa*>(&dialog)) {
            options->BitBtn5->click();
            return dialog.result();
        }
        if (auto* preview = qobject_cast<app::TAnteprima*>(&dialog)) {
            preview->BitBtn1->click();
            return dialog.result();
        }
        if (auto* printDialog = qobject_cast<QPrintDialog*>(&dialog)) {
            printDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            printDialog->printer()->setOutputFileName(pdf);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    commands.N6Click(source());
    EXPECT_EQ(host.shown,
        (QStringList { QStringLiteral("quorvane::app::TStampa"),
            QStringLiteral("quorvane::app::TAnteprima"), QStringLiteral("QPrintDialog") }));
    EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("song.mp3")));
}

TEST_F(Printing, TheFontDialogChangesTheListingFontOnlyWhenConfirmed)
{
    const QFont chosen(QStringLiteral("DejaVu Sans"), 14);
    bool monospacedOnly = false;
    int answer = QDialog::Rejected;
    host.handler = [&](QDialog& dialog) {
        auto* fontDialog = qobject_cast<QFontDialog*>(&dialog);
        if (fontDialog == nullptr)
            return int(QDialog::Rejected);
        monospacedOnly = fontDialog->testOption(QFontDialog::MonospacedFonts);
        fontDialog->setCurrentFont(chosen);
        if (answer == QDialog::Accepted)
            fontDialog->accept();
        return answer;
    };
    const QFont before = font;
    commands.chooseFont(true);
    EXPECT_TRUE(monospacedOnly);
    EXPECT_EQ(font, before);

    answer = QDialog::Accepted;
    commands.chooseFont(false);
    EXPECT_FALSE(monospacedOnly);
    EXPECT_EQ(font.family(), chosen.family());
    EXPECT_EQ(font.pointSize(), 14);
}

} // namespace
} // namespace quorvane::test
