// The window's exception boundary.
#include "slot_guard.h"

#include "qt_text.h"

#include "engine/prompts.h"

#include <QString>

#include <exception>

namespace quorvane::app {

void runGuarded(engine::Prompts& prompts, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        prompts.tell({ "ERROR", engine::Severity::Error, toCore(QString::fromUtf8(e.what())) });
    }
}

} // namespace quorvane::app
