#include "core/logging.h"

namespace orvane::core {
Q_LOGGING_CATEGORY(lcCore, "orvane.core", QtInfoMsg)
Q_LOGGING_CATEGORY(lcInstance, "orvane.core.instance", QtWarningMsg)
} // namespace orvane::core
