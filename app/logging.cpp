#include "app/logging.h"

namespace orvane::app {
Q_LOGGING_CATEGORY(lcApp, "orvane.app", QtWarningMsg)
} // namespace orvane::app
