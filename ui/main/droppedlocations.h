#pragma once

#include <QString>

class QMimeData;

namespace orvane::ui {

// The "|"-separated location list of what was dropped on the window: local
// files by their paths, other URLs as they are; empty when nothing in it
// names a location.
QString DroppedLocationList(const QMimeData &data);

} // namespace orvane::ui
