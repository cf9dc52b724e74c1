#pragma once

#include <QLoggingCategory>

namespace orvane::app {
// The program's start and end; start-up timing logs under orvane.app.startup.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
} // namespace orvane::app
