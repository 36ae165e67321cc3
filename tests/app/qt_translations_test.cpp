// Qt's own buttons and the program's dates in the program's language.
#include "support/failing_file_system.h"
#include "support/temp_dir.h"

#include "app/properties_dialog.h"
#include "app/qt_translations.h"
#include "platform/name_codec.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace quorvane::test {
namespace {

QString standardButtonText(QMessageBox::StandardButton which)
{
    QMessageBox box;
    return box.addButton(which)->text();
}

TEST(QtLanguage, StandardButtonsFollowTheChosenLanguage)
{
    const QString file
        = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_it.qm");
    if (!QFile::exists(file))
        GTEST_SKIP() << "Qt's Italian translation is missing: install the package "
                        "qt6-translations-l10n ("
                     << file.toStdString() << ")";

    ASSERT_TRUE(app::setQtLanguage(QLocale(QLocale::Italian, QLocale::Italy)));
    EXPECT_EQ(standardButtonText(QMessageBox::Cancel).toStdString(), "Annulla");
    EXPECT_EQ(standardButtonText(QMessageBox::Close).toStdString(), "Chiudi");
    QDialogButtonBox inputButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(inputButtons.button(QDialogButtonBox::Cancel)->text().toStdString(), "Annulla");
    EXPECT_EQ(app::programLocale().language(), QLocale::Italian);

    // A later choice replaces the translation instead of stacking on it.
    ASSERT_TRUE(app::setQtLanguage(QLocale(QLocale::English)));
    EXPECT_EQ(standardButtonText(QMessageBox::Cancel).toStdString(), "Cancel");
    EXPECT_EQ(app::programLocale().language(), QLocale::English);
    ASSERT_TRUE(app::setQtLanguage(QLocale(QLocale::Italian, QLocale::Italy)));
    EXPECT_EQ(standardButtonText(QMessageBox::Cancel).toStdString(), "Annulla");
}

TEST(QtLanguage, PropertiesShowDatesInTheProgramsLanguage)
{
    const TempDir tmp;
    tmp.file("song.mp3", "x");
    // Sunday 15 March 2020, noon UTC: the same day in every time zone.
    const timespec times[2] = { { 1584273600, 0 }, { 1584273600, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, (tmp / "song.mp3").c_str(), times, 0), 0);
    FailingFileSystem fs;

    app::PropertiesDialog dialog(fs, platform::decodeName(tmp / "song.mp3"));
    QString shown;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        shown += label->text() + QLatin1Char('\n');
    EXPECT_TRUE(shown.contains(QStringLiteral("marzo"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("domenica"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("March"))) << shown.toStdString();
}

} // namespace
} // namespace quorvane::test
