// The box of a refused rename: which button gives which answer, filled and clicked by the test.
#include "app/rename_retry_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

QString toQString(const std::u32string& text)
{
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

using Action = engine::RetryAnswer::Action;

engine::InputRequest refusedRename()
{
    return { "RINOMINA_IN_USO", U"Esiste già un elemento con questo nome (Errore 17)",
        U"Rinomina file: a.txt", U"A.txt" };
}

TEST(RenameRetryDialog, ShowsTheRequestAndRetriesWithTheEditedName)
{
    app::RenameRetryDialog dialog(refusedRename());
    EXPECT_EQ(
        dialog.windowTitle(), QStringLiteral("Esiste già un elemento con questo nome (Errore 17)"));
    EXPECT_TRUE(dialog.findChild<QLabel*>()->text().contains(QStringLiteral("a.txt")));
    EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("A.txt"));
    EXPECT_EQ(dialog.skipButton()->text(), QStringLiteral("Salta"));
    EXPECT_EQ(dialog.skipAllButton()->text(), QStringLiteral("Salta tutti gli errori"));
    EXPECT_EQ(dialog.stopButton()->text(), QStringLiteral("Interrompi"));
    EXPECT_TRUE(dialog.okButton()->isDefault());

    dialog.show();
    dialog.nameEdit()->setText(QStringLiteral("B.txt"));
    QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.answer().action, Action::Retry);
    EXPECT_EQ(dialog.answer().name, U"B.txt");
}

TEST(RenameRetryDialog, EveryButtonAndEveryWayOutGivesItsAnswer)
{
    struct Case
    {
        const char* what;
        std::function<void(app::RenameRetryDialog&)> press;
        Action expected;
    };
    const auto click = [](QPushButton* (app::RenameRetryDialog::*button)() const) {
        return [button](
                   app::RenameRetryDialog& d) { QTest::mouseClick((d.*button)(), Qt::LeftButton); };
    };
    const Case cases[] = {
        { "OK", click(&app::RenameRetryDialog::okButton), Action::Retry },
        { "Salta", click(&app::RenameRetryDialog::skipButton), Action::Skip },
        { "Salta tutti", click(&app::RenameRetryDialog::skipAllButton), Action::SkipAll },
        { "Interrompi", click(&app::RenameRetryDialog::stopButton), Action::Stop },
        { "Escape", [](app::RenameRetryDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
            Action::Skip },
        { "window closed", [](app::RenameRetryDialog& d) { d.close(); }, Action::Skip },
    };
    for (const Case& c : cases) {
        app::RenameRetryDialog dialog(refusedRename());
        dialog.show();
        dialog.nameEdit()->setText(QStringLiteral("nuovo.txt"));
        c.press(dialog);
        EXPECT_FALSE(dialog.isVisible()) << c.what;
        const engine::RetryAnswer answer = dialog.answer();
        EXPECT_EQ(answer.action, c.expected) << c.what;
        // Only a retry carries a name; the others must not look like one.
        EXPECT_EQ(answer.name, c.expected == Action::Retry ? U"nuovo.txt" : U"") << c.what;
    }
}

TEST(RenameRetryDialog, ALongNameShowsWhole)
{
    engine::InputRequest request = refusedRename();
    request.text = U"01 - Un titolo molto lungo di una canzone (versione estesa dal vivo).mp3";
    app::RenameRetryDialog dialog(request);
    dialog.show();
    const QLineEdit* field = dialog.nameEdit();
    EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), field->contentsRect().width());
}

TEST(RenameRetryDialog, AnUntouchedNameKeepsItsUndecodableBytes)
{
    engine::InputRequest request = refusedRename();
    request.text = U"caf\xDCE9.txt"; // the byte 0xE9 of a Latin-1 name
    app::RenameRetryDialog dialog(request);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.answer().name, request.text);
}

TEST(RenameRetryDialog, TheReasonShowsWholeAndThePromptNamesTheButtonsItHas)
{
    engine::InputRequest request = refusedRename();
    request.subject = U"a.txt";
    app::RenameRetryDialog dialog(request);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QString caption = toQString(request.caption);
    QStringList texts;
    const QLabel* heading = nullptr;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
        if (label->text() == caption)
            heading = label;
    }
    // The title bar may cut a long title: the box says the reason in its own text too.
    ASSERT_NE(heading, nullptr) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_LE(heading->fontMetrics().horizontalAdvance(caption), heading->contentsRect().width());
    const QString prompt = texts.join(QLatin1Char('\n'));
    EXPECT_TRUE(prompt.contains(QStringLiteral("a.txt")));
    EXPECT_FALSE(prompt.contains(QStringLiteral("Cancel"))) << prompt.toStdString();
    EXPECT_TRUE(prompt.contains(dialog.skipButton()->text().remove(QLatin1Char('&'))))
        << prompt.toStdString();
    EXPECT_TRUE(prompt.contains(dialog.okButton()->text().remove(QLatin1Char('&'))));
}

} // namespace
} // namespace quorvane::test
