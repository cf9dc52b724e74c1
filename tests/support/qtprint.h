#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest print texts in failure messages as text, not as bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
