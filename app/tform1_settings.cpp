// The main window's settings: the start-up question, reading them when first shown, the
// save-settings dialog and the writes at exit.
#include "tform1.h"

#include "about/taboutbox.h"
#include "browse_pane.h"
#include "close_request.h"
#include "dialog_host.h"
#include "modes/mode_commands.h"
#include "print/listing_commands.h"
#include "qt_text.h"
#include "settings/tavanzate.h"
#include "window_frame.h"

#include "engine/prompts.h"
#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/file_system.h"
#include "platform/name_codec.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace quorvane::app {

namespace {

const QString kVersion = QStringLiteral("Version");

} // namespace

void TForm1::askAutoCheck()
{
    if (m_settings == nullptr)
        return;
    if (!m_settings->unusableReason().isEmpty()) {
        // Said once, at start: the file stays as it is and the program runs on defaults.
        m_prompts.tell({ "SETTINGS", engine::Severity::Warning,
            lang::formatText(lang::addedText(lang::added::IMPOSTAZIONI_NON_LETTE),
                { toCore(m_settings->unusableReason()) }) });
        return;
    }
    const bool keyExists = m_settings->keyExists();
    if (keyExists && m_settings->readString({}, kVersion, {}) == programVersion())
        return;
    const engine::Button answer = m_prompts.ask(
        { "AUTO_CHECK", engine::Severity::Confirmation, lang::LookupConstant(lang::id::AUTO_CHECK),
            { engine::Button::Yes, engine::Button::No }, engine::Button::Yes });
    m_settingsFlags.AutoCheckUpdate = answer == engine::Button::Yes;
    // An upgrade keeps the answer at once; a first start keeps it until the exit writes.
    if (keyExists) {
        m_settings->writeBool(
            {}, QStringLiteral("autoCheckUpdate"), m_settingsFlags.AutoCheckUpdate);
        if (const QString failed = m_settings->sync(); !failed.isEmpty())
            m_prompts.tell({ "SETTINGS", engine::Severity::Error, toCore(failed) });
    }
}

void TForm1::readSettings()
{
    if (m_settings == nullptr)
        return;
    applySettings(Leggi(*m_settings, m_settingsFlags));
}

void TForm1::applySettings(const StoredSettings& s)
{
    m_settingsFlags = s.flags;
    m_items.Noneliminaredellestensione1->setChecked(s.advanced.Preserve_dotexp);
    if (!s.keyExisted)
        return; // a first start keeps every designed default
    applyPlacement(s.window);
    m_options->applyBasicOptions(s.basic);
    // The stored text is the directory's bytes (a name need not be UTF-8): looked up as such.
    const std::u32string directory = toCore(s.directory);
    const auto status = m_fs.status(platform::encodeName(directory), platform::Links::Follow);
    if (!directory.empty() && status.ok() && status.value().kind == platform::EntryKind::Directory)
        m_browse->openDirectory(directory);
    m_items.Gestiscilettereaccentate1->setChecked(s.advanced.Auto_Accent);
    m_items.dosnames1->setChecked(s.advanced.DOS_Names);
    m_items.Compattaspazivuoti1->setChecked(s.advanced.Compatta_Spazi);
    m_modes->setCdPlayerIniPath(toCore(s.flags.CdPlayerIniPath));
    m_listing->options() = s.print;
}

void TForm1::applyPlacement(const WindowPlacement& placement)
{
    // The file holds the frame, title bar included: a client position stored as a frame
    // one (or the other way round) moves the window by its title bar at every start.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(screen->availableGeometry());
    const QMargins margins = frameMargins();
    const QRect frame = restoredFrame(placement, screens,
        minimumSize().grownBy(margins) /* the client's minimum with its frame */);
    m_restoredFrame = frame;
    m_restoredMargins = margins;
    setGeometry(frame.marginsRemoved(margins));
    watchRestoredFrame();
    if (placement.state == 2)
        setWindowState(Qt::WindowMaximized);
    else if (placement.state == 1)
        setWindowState(Qt::WindowMinimized);
}

QMargins TForm1::frameMargins() const
{
    // The platform window's own, asked afresh: the widget's copy is brought up to date only
    // when the window moves, and a window manager that frames the window in place does not
    // move it.
    if (const QWindow* window = windowHandle(); window != nullptr && window->handle() != nullptr)
        return window->frameMargins();
    return {};
}

void TForm1::watchRestoredFrame()
{
    // The frame's size is learnt some time after the window is mapped, with or without an
    // event: it is looked at for a while, and after every move and resize.
    m_frameChecksLeft = 20;
    if (m_frameWatch == nullptr) {
        m_frameWatch = new QTimer(this);
        m_frameWatch->setInterval(100);
        connect(m_frameWatch, &QTimer::timeout, this, [this] {
            keepRestoredFrame();
            if (--m_frameChecksLeft <= 0 || !m_restoredFrame)
                m_frameWatch->stop();
        });
    }
    m_frameWatch->start();
}

void TForm1::keepRestoredFrame()
{
    // Placed before the window manager had framed the window, the client stands where the
    // frame should: it is placed again inside the restored frame, once, when the frame's
    // borders are known.
    if (!m_restoredFrame || !isVisible() || windowState() != Qt::WindowNoState)
        return;
    const QMargins margins = frameMargins();
    if (margins == m_restoredMargins)
        return;
    const QRect frame = *m_restoredFrame;
    m_restoredFrame.reset();
    setGeometry(frame.marginsRemoved(margins));
}

StoredSettings TForm1::currentSettings() const
{
    StoredSettings s;
    s.flags = m_settingsFlags;
    s.window.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    const QRect frame = geometry().marginsAdded(frameMargins());
    s.window.left = frame.x();
    s.window.top = frame.y();
    s.window.width = frame.width();
    s.window.height = frame.height();
    s.directory = toQt(m_browse->directory());
    s.basic = m_options->basicOptions();
    s.advanced.Auto_Accent = m_items.Gestiscilettereaccentate1->isChecked();
    s.advanced.Compatta_Spazi = m_items.Compattaspazivuoti1->isChecked();
    s.advanced.Preserve_dotexp = m_items.Noneliminaredellestensione1->isChecked();
    s.advanced.DOS_Names = m_items.dosnames1->isChecked();
    s.print = m_listing->options();
    return s;
}

void TForm1::saveSettings()
{
    if (m_settings == nullptr)
        return;
    Salva(*m_settings, currentSettings());
    if (const QString failed = m_settings->sync(); !failed.isEmpty())
        m_prompts.tell({ "SETTINGS", engine::Severity::Error, toCore(failed) });
}

void TForm1::Impostazioni2Click()
{
    if (m_settings == nullptr)
        return;
    TAvanzate dialog(
        m_settingsFlags, *m_settings, [this] { saveSettings(); }, m_prompts, this);
    m_dialogs.exec(dialog);
    m_modes->setCdPlayerIniPath(toCore(m_settingsFlags.CdPlayerIniPath));
}

void TForm1::firsttime()
{
    // A program ended from outside (a session logging out) starts no mail program.
    if (!CloseRequest::pending())
        m_dialogs.openUrl(about::makerMailLink());
    for (bool SettingsFlags::*flag : { &SettingsFlags::SaveOnExit, &SettingsFlags::SettingsEnabled,
             &SettingsFlags::SaveWindow, &SettingsFlags::SaveDirectory,
             &SettingsFlags::SaveBasicOptions, &SettingsFlags::SaveAdvancedOptions })
        m_settingsFlags.*flag = true;
    Salva(*m_settings, currentSettings());
}

void TForm1::writeSettingsAtExit()
{
    if (m_settings == nullptr || !m_settings->unusableReason().isEmpty())
        return;
    if (!m_settings->keyExists() || m_settings->readString({}, kVersion, {}) != programVersion())
        firsttime();
    if (m_settingsFlags.SaveOnExit && m_settingsFlags.SettingsEnabled)
        Salva(*m_settings, currentSettings());
    m_settings->writeBool({}, QStringLiteral("Salvate"), m_settingsFlags.SettingsEnabled);
    m_settings->writeBool({}, QStringLiteral("autoCheckUpdate"), m_settingsFlags.AutoCheckUpdate);
    m_settings->writeString({}, kVersion, programVersion());
    // The window is closing: a message box could block a session that is ending.
    if (const QString failed = m_settings->sync(); !failed.isEmpty())
        qWarning("%s", qUtf8Printable(failed));
}

} // namespace quorvane::app
