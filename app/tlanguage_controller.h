// The translation controller of a form: binds the form's entry tree and writes language
// texts into its widgets.
#pragma once

#include "lang/lang_entries.h"
#include "lang/language_manager.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace quorvane::app {

class QtLangModel;

/// LanguageController1 of a translatable form. Made as the last step of the form's
/// construction: it reads the form's LangData, binds it to the form's named objects,
/// records their texts as the built-in defaults, registers with the manager and gives the
/// form the language in force (throwing ELangError when that language's file cannot be
/// loaded, so that the form is not shown). A corrupt LangData value leaves the form with
/// its built-in texts and is reported once per run through setCorruptDataReporter.
class TLanguageController : public QObject, public lang::LangTranslatable
{
    Q_OBJECT
public:
    /// `formName` is the form's Name, which names its section in a language file; the
    /// controller becomes a child of `form`.
    TLanguageController(QWidget* form, std::string formName);
    ~TLanguageController() override;

    [[nodiscard]] std::string formName() const override { return m_formName; }
    void applyTranslation(const lang::TLang_CompTranslation* translation) override;

    /// The bound tree, for the language template; none when the form's data was corrupt.
    [[nodiscard]] const lang::TLang_CompEntry* entries() const { return m_root.get(); }

    /// Where a corrupt LangData value is reported (once per run); the window sets it.
    static void setCorruptDataReporter(std::function<void(const QString&)> report);

signals:
    void languageChanging();
    void languageChanged();

private:
    void watchDestruction();

    std::string m_formName;
    std::unique_ptr<QtLangModel> m_model;
    std::unique_ptr<lang::TLang_CompEntry> m_root;
};

} // namespace quorvane::app
