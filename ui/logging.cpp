#include "ui/logging.h"

namespace orvane::ui {
Q_LOGGING_CATEGORY(lcUi, "orvane.ui", QtWarningMsg)
} // namespace orvane::ui
