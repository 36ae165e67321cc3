// Where a stored window placement goes on the screens there are now.
#pragma once

#include "settings/stored_settings.h"

#include <QList>
#include <QRect>
#include <QSize>

namespace quorvane::app {

/// The window's frame (title bar and borders included) for a `stored` placement, on the
/// `screens` there are now (their available areas, the primary one first). The stored
/// values may be anything a file held: the result always lies on one screen, on the one
/// that holds most of the stored frame (the primary one, at its top-left corner, when none
/// holds any of it), no larger than that screen and no smaller than `minimum` (a screen
/// smaller than `minimum` gets the window at its top-left corner). So the title bar can
/// always be reached.
[[nodiscard]] QRect restoredFrame(
    const WindowPlacement& stored, const QList<QRect>& screens, const QSize& minimum);

} // namespace quorvane::app
