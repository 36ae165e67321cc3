// The text properties of Qt widgets under the names language files use, kind by kind.
#include "qt_lang_model.h"

#include "tlanguage_controller.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextEdit>

#include <functional>

namespace quorvane::app {

namespace {

// Interface texts only: no file name passes here, so plain UTF-32 conversions serve.
QString toQt(std::u32string_view text)
{
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::u32string toCore(const QString& text)
{
    const QList<uint> units = text.toUcs4();
    return { units.begin(), units.end() };
}

QObject* objectOf(lang::LangHandle component)
{
    return const_cast<QObject*>(static_cast<const QObject*>(component));
}

/// One text property of a widget kind.
struct Property
{
    std::string path;
    std::function<QString()> get;
    std::function<void(const QString&)> set;
    bool stored = true;
};

/// Lines as a string list property holds them: every line followed by CR LF.
QString joinLines(const QStringList& lines)
{
    QString out;
    for (const QString& line : lines)
        out += line + QStringLiteral("\r\n");
    return out;
}

QStringList splitLines(const QString& text)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normal.endsWith(QLatin1Char('\n')))
        normal.chop(1);
    return normal.isEmpty() ? QStringList() : normal.split(QLatin1Char('\n'));
}

QList<QLabel*> statusPanels(QStatusBar* bar)
{
    return bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
}

void addWidgetProperties(QWidget* w, std::vector<Property>& out)
{
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        out.push_back({ "Caption", [=] { return button->text(); },
            [=](const QString& t) { button->setText(t); } });
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        out.push_back({ "Caption", [=] { return label->text(); },
            [=](const QString& t) { label->setText(t); } });
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        out.push_back({ "Caption", [=] { return group->title(); },
            [=](const QString& t) { group->setTitle(t); } });
    } else if (auto* menu = qobject_cast<QMenu*>(w)) {
        out.push_back({ "Caption", [=] { return menu->title(); },
            [=](const QString& t) { menu->setTitle(t); } });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        out.push_back(
            { "Text", [=] { return edit->text(); }, [=](const QString& t) { edit->setText(t); } });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        out.push_back({ "Items",
            [=] {
                QStringList items;
                for (int i = 0; i < combo->count(); ++i)
                    items << combo->itemText(i);
                return joinLines(items);
            },
            [=](const QString& t) {
                // Item by item, so the data behind each item and the selection stay.
                const QStringList items = splitLines(t);
                for (int i = 0; i < items.size() && i < combo->count(); ++i)
                    combo->setItemText(i, items[i]);
            } });
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        out.push_back({ "Items",
            [=] {
                QStringList items;
                for (int i = 0; i < list->count(); ++i)
                    items << list->item(i)->text();
                return joinLines(items);
            },
            [=](const QString& t) {
                const QStringList items = splitLines(t);
                for (int i = 0; i < items.size() && i < list->count(); ++i)
                    list->item(i)->setText(items[i]);
            } });
    } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
        out.push_back({ "Columns",
            [=] {
                QStringList headings;
                for (int i = 0; i < table->columnCount(); ++i) {
                    const QTableWidgetItem* item = table->horizontalHeaderItem(i);
                    headings << (item != nullptr ? item->text() : QString());
                }
                return joinLines(headings);
            },
            [=](const QString& t) { table->setHorizontalHeaderLabels(splitLines(t)); } });
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        out.push_back({ "Lines", [=] { return joinLines(plain->toPlainText().split('\n')); },
            [=](const QString& t) { plain->setPlainText(splitLines(t).join('\n')); } });
    } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
        out.push_back({ "Lines", [=] { return joinLines(rich->toPlainText().split('\n')); },
            [=](const QString& t) { rich->setPlainText(splitLines(t).join('\n')); } });
    } else if (auto* bar = qobject_cast<QStatusBar*>(w)) {
        const QList<QLabel*> panels = statusPanels(bar);
        for (qsizetype i = 0; i < panels.size(); ++i) {
            QLabel* panel = panels[i];
            out.push_back({ "Panels[" + std::to_string(i) + "].Text",
                [=] {
                    const QVariant word = panel->property(kPanelTextProperty);
                    return word.isValid() ? word.toString() : panel->text();
                },
                [=](const QString& t) {
                    if (panel->property(kPanelTextProperty).isValid())
                        panel->setProperty(kPanelTextProperty, t);
                    panel->setText(t);
                } });
        }
    }
    out.push_back(
        { "Hint", [=] { return w->toolTip(); }, [=](const QString& t) { w->setToolTip(t); } });
    // A font is stored with a form only where it was set, not where it is inherited.
    out.push_back({ "Font.Name", [=] { return w->font().family(); },
        [=](const QString& t) {
            QFont font = w->font();
            font.setFamily(t);
            w->setFont(font);
        },
        w->isWindow() || w->testAttribute(Qt::WA_SetFont) });
}

void addDeclaredProperties(QObject* object, std::vector<Property>& out)
{
    // Capitalised, as no property of Qt's own is: only the program's objects declare them.
    for (const char* name : { "FileName", "Filter", "Title" }) {
        if (object->metaObject()->indexOfProperty(name) < 0)
            continue;
        out.push_back({ name, [=] { return object->property(name).toString(); },
            [=](const QString& t) { object->setProperty(name, t); } });
    }
}

std::vector<Property> propertiesOf(QObject* object, bool isForm)
{
    std::vector<Property> out;
    if (auto* action = qobject_cast<QAction*>(object)) {
        out.push_back({ "Caption", [=] { return action->text(); },
            [=](const QString& t) { action->setText(t); } });
        return out;
    }
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (isForm) {
            out.push_back({ "Caption", [=] { return widget->windowTitle(); },
                [=](const QString& t) { widget->setWindowTitle(t); } });
        }
        addWidgetProperties(widget, out);
    }
    addDeclaredProperties(object, out);
    return out;
}

bool insideOtherForm(const QObject* object, const QObject* form)
{
    for (const QObject* p = object->parent(); p != nullptr && p != form; p = p->parent()) {
        if (p->findChild<TLanguageController*>(QString(), Qt::FindDirectChildrenOnly) != nullptr)
            return true;
    }
    return false;
}

} // namespace

std::string QtLangModel::nameOf(lang::LangHandle component) const
{
    return objectOf(component)->objectName().toStdString();
}

std::vector<lang::LangHandle> QtLangModel::ownedBy(lang::LangHandle component) const
{
    // A form owns every component on it; components own none, as on the designed forms.
    std::vector<lang::LangHandle> owned;
    if (objectOf(component) != m_form)
        return owned;
    for (QObject* child : m_form->findChildren<QObject*>()) {
        if (child->objectName().isEmpty() || qobject_cast<TLanguageController*>(child) != nullptr
            || insideOtherForm(child, m_form))
            continue;
        owned.push_back(child);
    }
    return owned;
}

std::vector<lang::LangPropertyValue> QtLangModel::properties(lang::LangHandle component) const
{
    std::vector<lang::LangPropertyValue> out;
    QObject* object = objectOf(component);
    for (const Property& p : propertiesOf(object, object == m_form))
        out.push_back({ p.path, toCore(p.get()), p.stored });
    return out;
}

void QtLangModel::setText(
    lang::LangHandle component, std::string_view path, std::u32string_view text)
{
    QObject* object = objectOf(component);
    for (const Property& p : propertiesOf(object, object == m_form)) {
        if (lang::TLang_Constants::compareNames(p.path, path) == 0) {
            p.set(toQt(text));
            return;
        }
    }
}

} // namespace quorvane::app
