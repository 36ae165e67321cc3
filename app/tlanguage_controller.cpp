// The translation controller of a form: binds the form's entry tree and writes language
// texts into its widgets.
#include "tlanguage_controller.h"

#include "qt_lang_model.h"

#include "lang/form_lang_data.h"
#include "lang/lang_error.h"

#include <QWidget>

namespace quorvane::app {

namespace {

std::function<void(const QString&)>& corruptDataReporter()
{
    static std::function<void(const QString&)> report;
    return report;
}

void reportCorrupt(const std::string& formName, const char* what)
{
    static bool reported = false;
    const QString message
        = QStringLiteral("%1: %2").arg(QString::fromStdString(formName), QString::fromUtf8(what));
    if (reported || !corruptDataReporter()) {
        qWarning("%s", qPrintable(message));
        return;
    }
    reported = true;
    corruptDataReporter()(message);
}

} // namespace

TLanguageController::TLanguageController(QWidget* form, std::string formName)
    : QObject(form)
    , m_formName(std::move(formName))
    , m_model(std::make_unique<QtLangModel>(form))
{
    setObjectName(QStringLiteral("LanguageController1"));
    try {
        m_root = lang::readLangData(lang::findFormLangData(m_formName));
    } catch (const lang::ELangError& e) {
        // The form stays as it was built; the other forms are not concerned.
        reportCorrupt(m_formName, e.what());
        return;
    }
    m_root->bind(QtLangModel::handle(form), *m_model);
    // Font names follow the system's fonts, never a language file; the Preview form alone
    // enters its font, as it was designed to.
    const lang::TLang_MaskList ignore = m_formName == "Preview"
        ? lang::TLang_MaskList()
        : lang::TLang_MaskList({ "*.Font.Name" });
    m_root->capture(*m_model, ignore, {}, true);
    watchDestruction();
    lang::LangManager().AttachController(this);
    try {
        lang::LangManager().TranslateNewForm(*this);
    } catch (...) {
        lang::LangManager().DetachController(this);
        m_root.reset();
        throw;
    }
}

TLanguageController::~TLanguageController()
{
    if (m_root)
        lang::LangManager().DetachController(this);
}

void TLanguageController::watchDestruction()
{
    // A component removed while the form lives loses its entry, so the tree never
    // reaches a deleted widget.
    m_root->forEach([this](const lang::TLang_CompEntry& entry) {
        if (entry.parent() == nullptr || entry.component == nullptr)
            return;
        auto* object = static_cast<QObject*>(const_cast<void*>(entry.component));
        connect(object, &QObject::destroyed, this, [this, object] {
            if (m_root)
                m_root->removeComponent(QtLangModel::handle(object));
        });
    });
}

void TLanguageController::applyTranslation(const lang::TLang_CompTranslation* translation)
{
    if (!m_root)
        return;
    emit languageChanging();
    try {
        m_root->apply(*m_model, translation);
    } catch (...) {
        emit languageChanged();
        throw;
    }
    emit languageChanged();
}

void TLanguageController::setCorruptDataReporter(std::function<void(const QString&)> report)
{
    corruptDataReporter() = std::move(report);
}

} // namespace quorvane::app
