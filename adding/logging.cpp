#include "adding/logging.h"

namespace orvane::adding {
Q_LOGGING_CATEGORY(lcAdding, "orvane.adding", QtWarningMsg)
} // namespace orvane::adding
