#pragma once

#include <QLoggingCategory>

namespace orvane::ui {
// The user interface's messages; hand-overs between instances log under
// orvane.core.instance wherever they are handled.
Q_DECLARE_LOGGING_CATEGORY(lcUi)
} // namespace orvane::ui
