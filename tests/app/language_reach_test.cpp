// Every text a person sees comes from the language in force: the forms' texts under the IDs
// that language files address, and the messages and captions that code builds.
#include "all_windows.h"
#include "app/language_template.h"
#include "app/preview_model.h"
#include "app/print/listing_commands.h"
#include "app/qt_text.h"
#include "lang/lang_ids.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QTableView>
#include <QTreeView>

#include <algorithm>

using namespace quorvane;

namespace {

/// A language that no shipped file speaks (Dutch), so that its texts are only ours.
constexpr std::uint16_t kMarkedLanguage = 1043;
const QChar kMark(0x00A4);

/// Writes `text` as a language file at `path` and puts it into force.
void switchTo(const std::string& path, const QString& text, std::uint16_t langId)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    lang::TLanguageManager& manager = lang::LangManager();
    manager.SetBaseLanguage(lang::kLangItalian);
    ASSERT_TRUE(manager.AddLanguageFile(path));
    manager.SwitchLanguage(langId);
    ASSERT_EQ(manager.CurrentLanguage(), langId);
}

/// The program's template with every text marked: whatever reaches the screen through a
/// form entry or a constant carries the mark, a text built in only does not.
QString markedTemplate()
{
    QString out;
    for (const QString& line : app::languageTemplate().split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QStringLiteral("LANGID=")))
            out += QStringLiteral("LANGID=%1").arg(kMarkedLanguage);
        else if (equals > 0 && !line.startsWith(QLatin1Char(';')))
            out += line.left(equals + 1) + kMark
                + line.mid(equals + 1)
                      .replace(QStringLiteral("\\n"), QStringLiteral("\\n") + kMark);
        else
            out += line;
        out += QLatin1Char('\n');
    }
    return out;
}

/// A text in some language: one with a letter beyond the program's name (not a number,
/// "-", "..." or "Quorvane 0.99").
bool inALanguage(QString text)
{
    text.remove(QStringLiteral("Quorvane"));
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

/// A value shown in a form's field (a file's name, its dates), not a text of the program.
bool isFieldValue(const QWidget& widget)
{
    const QWidget* parent = widget.parentWidget();
    if (parent == nullptr)
        return false;
    for (const QFormLayout* form : parent->findChildren<QFormLayout*>()) {
        int row = -1;
        QFormLayout::ItemRole role {};
        form->getWidgetPosition(const_cast<QWidget*>(&widget), &row, &role);
        if (row >= 0 && role == QFormLayout::FieldRole)
            return true;
    }
    return false;
}

/// A button of Qt's own (Close, OK): Qt's translations give its text.
bool isQtStandardButton(const QAbstractButton& button)
{
    const auto* box = qobject_cast<const QDialogButtonBox*>(button.parentWidget());
    return box != nullptr
        && box->standardButton(const_cast<QAbstractButton*>(&button)) != QDialogButtonBox::NoButton;
}

/// The texts of `window` that a person sees, each with where it is.
QStringList shownTexts(const QWidget& window)
{
    QStringList out;
    const auto add = [&](const QObject& where, const char* what, const QString& text) {
        if (inALanguage(text))
            out << QStringLiteral("%1.%2 \"%3\"")
                       .arg(where.objectName(), QLatin1String(what), text);
    };
    add(window, "windowTitle", window.windowTitle());
    QList<const QWidget*> widgets { &window };
    for (const QWidget* child : window.findChildren<QWidget*>())
        widgets << child;
    for (const QWidget* w : widgets) {
        if (const auto* menu = qobject_cast<const QMenu*>(w)) {
            add(*menu, "title", menu->title());
            continue;
        }
        if (w != &window && !w->isVisibleTo(&window))
            continue;
        add(*w, "toolTip", w->toolTip());
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            if (!isQtStandardButton(*button))
                add(*w, "text", button->text());
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (!isFieldValue(*label))
                add(*w, "text", label->text());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w))
            add(*w, "title", group->title());
        else if (const auto* view = qobject_cast<const QAbstractItemView*>(w); view != nullptr
                 && view->model() != nullptr
                 && (qobject_cast<const QTableView*>(w) || qobject_cast<const QTreeView*>(w))) {
            for (int c = 0; c < view->model()->columnCount(); ++c)
                add(*w, "header", view->model()->headerData(c, Qt::Horizontal).toString());
        }
    }
    for (const QAction* action : window.findChildren<QAction*>()) {
        if (!action->isSeparator())
            add(*action, "text", action->text());
    }
    return out;
}

/// The entries of `shown` that do not come from the language.
QStringList unmarked(const QStringList& shown)
{
    QStringList out;
    for (const QString& text : shown) {
        if (!text.contains(kMark))
            out << text;
    }
    return out;
}

} // namespace

TEST(LanguageReach, EveryTextOfEveryWindowComesFromTheLanguage)
{
    test::AllWindows all;
    switchTo(all.tmp / "marked.lng", markedTemplate(), kMarkedLanguage);
    QStringList missing;
    for (const QString& text : unmarked(shownTexts(all.window)))
        missing << QStringLiteral("Form1 ") + text;
    for (const auto& [name, make] : all.dialogs) {
        // The language dialog speaks both languages on purpose; the refused-rename box
        // shows the texts of the question it is given.
        if (std::string_view(name) == "LangDialog" || std::string_view(name) == "RenameRetry")
            continue;
        const std::unique_ptr<QWidget> dialog = make();
        if (auto* numbering = dynamic_cast<app::TFormNumera*>(dialog.get())) {
            // A layout without the number: the digit label then says so in words.
            dialog->findChild<QListWidget*>(QStringLiteral("ListBox1"))->clear();
            numbering->numera_on();
        }
        for (const QString& text : unmarked(shownTexts(*dialog)))
            missing << QString::fromLatin1(name) + QLatin1Char(' ') + text;
    }
    lang::LangManager().SwitchLanguage(lang::kLangItalian);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

namespace {

struct DesignedButton
{
    const char* form;
    int id;
};

/// The IDs under which language files translate the dialogs' buttons.
constexpr DesignedButton kButtons[] = { { "AboutBox", 24 }, { "Alignlist", 5 }, { "Alignlist", 6 },
    { "Anteprima", 5 }, { "Anteprima", 6 }, { "Avanzate", 3 }, { "Avanzate", 19 },
    { "Avanzate", 21 }, { "CDPForm", 3 }, { "CDPForm", 4 }, { "DelNumForm", 6 },
    { "DelNumForm", 7 }, { "FormNumera", 12 }, { "FormNumera", 13 }, { "Preview", 3 },
    { "Sort", 5 }, { "Sort", 6 }, { "Stampa", 4 }, { "Stampa", 23 }, { "Stampa", 24 },
    { "Stampa", 26 }, { "Stampa", 29 } };

QString buttonText(const char* form, int id)
{
    return QStringLiteral("%1 button %2").arg(QLatin1String(form)).arg(id);
}

} // namespace

TEST(LanguageReach, ALanguageFileTranslatesEveryDialogButtonUnderItsDesignedId)
{
    test::AllWindows all;
    QString file = QStringLiteral("LANGID=%1\n").arg(kMarkedLanguage);
    for (const DesignedButton& button : kButtons)
        file += QStringLiteral("[%1]\n%2=%3\n")
                    .arg(QLatin1String(button.form))
                    .arg(button.id)
                    .arg(buttonText(button.form, button.id));
    switchTo(all.tmp / "buttons.lng", file, kMarkedLanguage);
    QStringList untranslated;
    for (const auto& [name, make] : all.dialogs) {
        const std::unique_ptr<QWidget> dialog = make();
        QStringList texts;
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            texts << button->text();
        for (const DesignedButton& button : kButtons) {
            if (std::string_view(button.form) == name
                && !texts.contains(buttonText(button.form, button.id)))
                untranslated << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(button.id);
        }
    }
    lang::LangManager().SwitchLanguage(lang::kLangItalian);
    EXPECT_TRUE(untranslated.isEmpty()) << untranslated.join(QLatin1Char('\n')).toStdString();
}

TEST(LanguageReach, MessagesAndCaptionsBuiltInCodeComeFromTheLanguage)
{
    test::AllWindows all;
    switchTo(all.tmp / "marked.lng", markedTemplate(), kMarkedLanguage);
    QStringList said;

    // The print dialog's text-file box, and the message of a printer that is not there.
    test::ScriptedPrompts printPrompts;
    struct BoxReader final : app::DialogHost
    {
        QString box;
        int exec(QDialog& dialog) override
        {
            if (const auto* found = dialog.findChild<QCheckBox*>(QStringLiteral("PrintToTextFile")))
                box = found->text();
            return QDialog::Rejected;
        }
    } reader;
    QWidget owner;
    QFont font;
    app::ListingCommands commands(owner, printPrompts, all.fs, reader, font);
    commands.Stampa1Click({ platform::decodeName(all.tmp.path()), U"*.*" });
    said << QStringLiteral("print dialog box \"%1\"").arg(reader.box);
    commands.printer().setOutputFormat(QPrinter::PdfFormat);
    commands.printer().setOutputFileName({});
    (void)commands.printListing({ platform::decodeName(all.tmp.path()), U"*.*" });
    for (const engine::Message& message : printPrompts.messages)
        said << QString::fromStdString(message.id) + QStringLiteral(" \"") + app::toQt(message.text)
                + QLatin1Char('"');

    // A settings file that cannot be used, said at start with its reason.
    all.tmp.file("unusable.ini/keep");
    app::SettingsStore unusable(QString::fromStdString(all.tmp / "unusable.ini"));
    test::ScriptedPrompts startPrompts;
    {
        app::TForm1 window(startPrompts, all.fs, all.host, U"/", &unusable);
        window.close();
    }
    for (const engine::Message& message : startPrompts.messages)
        said << QString::fromStdString(message.id) + QStringLiteral(" \"") + app::toQt(message.text)
                + QLatin1Char('"');
    said << QStringLiteral("settings reason \"%1\"").arg(unusable.unusableReason());

    // The preview's word for a name that collides.
    said << QStringLiteral("preview tool tip \"%1\"").arg(app::PreviewModel::conflictToolTip());

    // The desktop button when there is no desktop.
    {
        const test::ScopedEnv home("HOME", all.tmp / "nobody");
        const test::ScopedEnv config("XDG_CONFIG_HOME", all.tmp / "nobody/.config");
        all.prompts.messages.clear();
        all.window.findChild<QAbstractButton*>(QStringLiteral("SpeedButton1"))->click();
        for (const engine::Message& message : all.prompts.messages)
            said << QString::fromStdString(message.id) + QStringLiteral(" \"")
                    + app::toQt(message.text) + QLatin1Char('"');
    }
    lang::LangManager().SwitchLanguage(lang::kLangItalian);

    EXPECT_EQ(said.size(), 6) << said.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(unmarked(said).isEmpty()) << unmarked(said).join(QLatin1Char('\n')).toStdString();
}
