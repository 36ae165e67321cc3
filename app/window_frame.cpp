// Where a stored window placement goes on the screens there are now.
#include "window_frame.h"

#include <algorithm>
#include <cstdint>

namespace quorvane::app {

namespace {

/// The part of [start, start + length) inside [from, from + size), in 64 bits: stored
/// values near the ends of int overflow a QRect.
std::int64_t overlap(std::int64_t start, std::int64_t length, std::int64_t from, std::int64_t size)
{
    return std::max<std::int64_t>(0, std::min(start + length, from + size) - std::max(start, from));
}

/// `value` within [low, high]; `low` when the range is empty (a screen smaller than the
/// window: its top-left edge is the one to keep reachable).
std::int64_t within(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return high < low ? low : std::clamp(value, low, high);
}

} // namespace

QRect restoredFrame(
    const WindowPlacement& stored, const QList<QRect>& screens, const QSize& minimum)
{
    const std::int64_t left = stored.left;
    const std::int64_t top = stored.top;
    const std::int64_t width = std::max(stored.width, minimum.width());
    const std::int64_t height = std::max(stored.height, minimum.height());
    if (screens.isEmpty())
        return { 0, 0, minimum.width(), minimum.height() };
    const QRect* best = nullptr;
    std::int64_t bestArea = 0;
    for (const QRect& screen : screens) {
        const std::int64_t area = overlap(left, width, screen.x(), screen.width())
            * overlap(top, height, screen.y(), screen.height());
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    const QRect& screen = best != nullptr ? *best : screens.front();
    const std::int64_t w
        = std::max<std::int64_t>(minimum.width(), std::min<std::int64_t>(width, screen.width()));
    const std::int64_t h
        = std::max<std::int64_t>(minimum.height(), std::min<std::int64_t>(height, screen.height()));
    const std::int64_t x = best != nullptr
        ? within(left, screen.x(), std::int64_t { screen.x() } + screen.width() - w)
        : screen.x();
    const std::int64_t y = best != nullptr
        ? within(top, screen.y(), std::int64_t { screen.y() } + screen.height() - h)
        : screen.y();
    return { static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h) };
}

} // namespace quorvane::app
