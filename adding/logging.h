#pragma once

#include <QLoggingCategory>

namespace orvane::adding {
// Warnings: media that could not be added. Info: one line per walk with its
// figures, for whoever tunes adding.
Q_DECLARE_LOGGING_CATEGORY(lcAdding)
} // namespace orvane::adding
