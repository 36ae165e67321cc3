// The text properties of Qt widgets under the names language files use, kind by kind.
#pragma once

#include "lang/lang_entries.h"

class QObject;

namespace quorvane::app {

/// A status panel that shows a computed text around a word of its own (" 12 Files") keeps
/// the word in this dynamic property: a language file translates the word, and the panel's
/// owner computes the text again from it.
inline constexpr char kPanelTextProperty[] = "panelText";

/// Reaches the texts of a form's widgets through a table of getters and setters per widget
/// kind: Caption (window title, button, label, group box, menu, action), Hint (tooltip),
/// Text (line edit), Items (combo and list boxes, one item a line), Lines (text edits),
/// Columns (table headings), Panels[i].Text (the labels of a status bar) and Font.Name.
/// Any object, widget or not, adds the texts it declares as Qt properties under the names
/// language files use: Title, Filter, FileName. The form owns every named object below
/// it, except what lies inside another translatable form (a dialog opened over it).
class QtLangModel : public lang::LangComponentModel
{
public:
    explicit QtLangModel(QObject* form)
        : m_form(form)
    { }

    [[nodiscard]] std::string nameOf(lang::LangHandle component) const override;
    [[nodiscard]] std::vector<lang::LangHandle> ownedBy(lang::LangHandle component) const override;
    [[nodiscard]] std::vector<lang::LangPropertyValue> properties(
        lang::LangHandle component) const override;
    void setText(
        lang::LangHandle component, std::string_view path, std::u32string_view text) override;

    [[nodiscard]] static lang::LangHandle handle(const QObject* object) { return object; }

private:
    QObject* m_form;
};

} // namespace quorvane::app
