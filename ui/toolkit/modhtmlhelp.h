#pragma once

#include <QString>

class QWidget;

namespace orvane::ui {
class frmHelp;
}

namespace orvane::ui::toolkit {

// The file the Help menu opens: folder + "ovHelp.chm", with one "/" between.
QString helpFileIn(const QString &folder);

// What a help call opens: the help file, or file + ">" + window type.
QString helpTarget(const QString &helpFile, const QString &windowType);

// Help lives for the life of the main window: initialising forgets any
// viewer left over, uninitialising closes every viewer.
void HelpInitialize(QWidget *window);
void HelpUninitialize(QWidget *window);

// Opens the help viewer of the window type over the help file, or, when
// that file is missing or unreadable, over the program's own manual.
// Context -1 shows the default topic; the manual has no context numbers, so
// any other context shows it too. Nothing happens for an empty file. One
// viewer per window type: a second call shows the topic in the same one.
frmHelp *OpenHelp(QWidget *window, const QString &helpFile, const QString &windowType, int context);

} // namespace orvane::ui::toolkit
