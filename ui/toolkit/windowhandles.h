#pragma once

#include <QtGlobal>

class QObject;

namespace orvane::ui::toolkit {

// Windows and menus are named by small, stable numbers, so that messages can
// carry them in their integer parameters and a window's dispatcher can be
// found by a property named after the number.

// The handle of an object, given on first use and kept for its life; 0 for
// no object. Handles are never reused within a process.
qintptr handleOf(QObject *object);

// The object a handle stands for; nullptr when the handle was never given or
// its object has been destroyed.
QObject *objectOfHandle(qintptr handle);

// The handle written as the name of a dynamic property: decimal, no sign,
// no leading zeros.
QByteArray handlePropertyName(qintptr handle);

} // namespace orvane::ui::toolkit
