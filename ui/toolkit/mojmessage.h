#pragma once

#include <QtGlobal>

class QObject;

namespace orvane::ui::toolkit {

class WindowMessageEvent;

// The one window procedure all dispatched windows share: a single event
// filter that finds a window's dispatcher through the property named after
// the window's handle and hands it each WindowMessageEvent.
namespace mojMessage {

// Installs the shared procedure on a window (once per window).
void installWindowProc(QObject *window);
// Removes it again.
void removeWindowProc(QObject *window);
// Dispatches one message of the window; returns true when a client handled
// it, so the window must not see it. The event carries the changed values
// and the result either way.
bool WindowProc(QObject *window, WindowMessageEvent &event);

} // namespace mojMessage

} // namespace orvane::ui::toolkit
