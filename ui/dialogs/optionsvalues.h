#pragma once

#include "ui/main/windowsettings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace orvane::ui {

// What the options dialog shows, apart from any widget, so that what it
// reads from setting.ini, what OK writes back in which order and what the
// running program takes over at once are tested on a real file alone.

// One engine's extension list as the dialog edits it: an empty stored list
// shows the built-in one, not to be edited until the box is ticked.
struct ExtensionChoice {
    bool edit = false;
    QString list;

    bool operator==(const ExtensionChoice &) const = default;
};

struct OptionsValues {
    bool doNotRunScreenSaver = false; // "Run Screen Saver" is "No"
    bool setScreenSaver = false;      // "Set Screen Saver" is "Yes"
    bool tryOtherEngine = false;      // "Try Open Other Mode"
    bool autoPlay = true;
    bool orgBar = true;       // "ShowOrgBar"
    bool windowMemory = true; // "Memory" of "Main Window Position"
    bool shortPath = true;
    bool restorePlaylist = true;
    // Read: "LanguageFile" as stored (resolved like start-up does). Written:
    // the file chosen in the list; empty when none is, and then the key
    // stays as it was.
    QString languageFile;
    PanelMode panelMode = PanelMode::All;
    PanelVisibility shownPanels;
    int processingMode = 1; // 0 timer, 1 loop
    int processingInterval = 500;
    ExtensionChoice wmp;
    ExtensionChoice real;
    QString scmpx;

    bool operator==(const OptionsValues &) const = default;
};

// Reads every value the dialog shows. "ShowOrgBar" defaults to what the
// main window uses now.
OptionsValues readOptionsValues(const QString &settingsFile);

// The two messages OK may show: that a language ("mesLang") or a
// processing mode ("mesprMode") applies from the next start.
using OptionsNotice = std::function<void(const QString &messageKey)>;

// OK: writes every value, in the order the program has always written
// them, hands what applies at once to the running program (the adding
// flags, the own caption, the timer's interval, the extension lists and
// their filters) and tells of a language or processing mode that differs
// from the one in use, which stay as they are until the next start.
void writeOptionsValues(const QString &settingsFile, const OptionsValues &values,
                        const OptionsNotice &notice);

// A language file the dialog offers: its path and the name it gives itself.
struct LanguageChoice {
    QString path;
    QString name;
};

// The ".ovs" files of the folders (letter case of the extension ignored),
// each named by its "Language" key; a file name found in an earlier folder
// hides the same name in a later one.
QList<LanguageChoice> findLanguageFiles(const QStringList &folders);
// The entry of the file, -1 when none is: the exact path, else the path
// compared in lower case.
int languageIndexOf(const QList<LanguageChoice> &choices, const QString &path);
// What a language file says of itself: name, version, creator, home page,
// mail address and comment, lines ended by CR LF.
QString languageInfoText(const QString &path);

// The interval's label: at least three digits, "500msec.".
QString intervalText(int ms);

// The range the interval's scroll bar offers, in milliseconds.
inline constexpr int kMinimumInterval = 10;
inline constexpr int kMaximumInterval = 5000;
inline constexpr int kIntervalStep = 10;

} // namespace orvane::ui
