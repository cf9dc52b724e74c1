#pragma once

#include <QRect>
#include <QString>

namespace orvane::core {

// The header section every language file carries.
inline const QString kLanguageHeaderSection = QStringLiteral("Orvane Language Settings");
// Files older than this lack keys the program asks for.
inline constexpr float kMinimumLanguageVersion = 1.06f;

// The text of key in section of a language file (empty file = the one in
// use, modMain::LanguageFile). A missing key or an empty value gives an
// empty text, never a built-in one. The last ten successful lookups are
// remembered, the oldest forgotten first.
QString GetText(const QString &section, const QString &key, const QString &file = QString());

// Whether the path names a usable language file; a file that exists but is
// too old (or has no version) is reported through ShowError.
bool CheckLanguageFile(const QString &path);

// The leading decimal number of a text, 0 when there is none ("1.06abc"
// gives 1.06), as the version check reads it.
double leadingNumber(const QString &text);

// Where a dialog of the given size goes so that the pointer lies over it,
// a third of the way in, and it stays on the screen. All in one unit.
QPoint placeNearCursorPosition(QPoint cursor, QSize form, QSize screen);

} // namespace orvane::core
