// Quorvane: the desktop bulk renamer.
#include "app/dialog_host.h"
#include "app/language_template.h"
#include "app/qt_prompts.h"
#include "app/qt_translations.h"
#include "app/settings/settings_store.h"
#include "app/tform1.h"

#include "platform/close_signals.h"
#include "platform/current_directory.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"

#include <QApplication>
#include <QLocale>
#include <QSocketNotifier>
#include <QtGlobal>

#include <cstdio>
#include <memory>
#include <string_view>

int main(int argc, char** argv)
{
    using namespace quorvane;
    // The translator's template needs no display: the forms are built, never shown.
    const bool dumpLanguage = argc == 2 && std::string_view(argv[1]) == "--dump-language";
    if (dumpLanguage)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (dumpLanguage) {
        std::fputs(app::languageTemplate().toUtf8().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // Italian screens need Italian buttons; without Qt's translation they stay English,
    // which is worth a line on the console but no reason not to start.
    if (!app::setQtLanguage(QLocale(QLocale::Italian, QLocale::Italy)))
        qWarning("Qt's Italian texts are not installed (package qt6-translations-l10n): "
                 "standard buttons stay English");

    platform::PosixFileSystem fs;
    app::DialogHost dialogs;
    app::QtPrompts prompts;
    // The start directory is the process's own, byte for byte.
    const std::u32string start = platform::decodeName(platform::currentDirectory());
    app::SettingsStore settings;
    // A session that ends or a plain kill closes the window as the user would, so the exit
    // sequence saves the settings; a question open at that moment is closed unanswered.
    app::TForm1* closable = nullptr;
    bool closeRequested = false;
    std::unique_ptr<QSocketNotifier> closeNotifier;
    if (const int closeRequests = platform::installCloseSignals(); closeRequests >= 0) {
        closeNotifier = std::make_unique<QSocketNotifier>(closeRequests, QSocketNotifier::Read);
        QObject::connect(closeNotifier.get(), &QSocketNotifier::activated, [&] {
            closeNotifier->setEnabled(false);
            closeRequested = true;
            QApplication::closeAllWindows();
            if (closable != nullptr)
                closable->close();
        });
    }
    app::TForm1 window(prompts, fs, dialogs, start, &settings);
    prompts.setOwner(&window);
    closable = &window;
    if (closeRequested) {
        window.close();
        return 0;
    }
    window.show();
    return QApplication::exec();
}
