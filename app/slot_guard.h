// The window's exception boundary: every slot runs inside it.
#pragma once

#include <functional>

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::app {

/// Runs `handler`; an error that escapes it is shown as the program's general error box and
/// the program goes on. Qt cannot carry an exception through its event loop, so every slot
/// of the window's parts goes through here.
void runGuarded(engine::Prompts& prompts, const std::function<void()>& handler);

/// A slot that calls `(object->*handler)()` inside runGuarded().
template<typename Object>
[[nodiscard]] std::function<void()> guardedSlot(
    engine::Prompts& prompts, Object* object, void (Object::*handler)())
{
    return [&prompts, object, handler] {
        runGuarded(prompts, [object, handler] { (object->*handler)(); });
    };
}

} // namespace quorvane::app
