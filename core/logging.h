#pragma once

#include <QLoggingCategory>

namespace orvane::core {
Q_DECLARE_LOGGING_CATEGORY(lcCore)
// Hand-overs between instances; tests switch it on to watch what arrives.
Q_DECLARE_LOGGING_CATEGORY(lcInstance)
} // namespace orvane::core
