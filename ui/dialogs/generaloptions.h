#pragma once

#include <QString>

namespace orvane::ui {

// The settings the options dialog's general page shows, as its check boxes
// hold them: apart from any widget, so what it reads and writes is tested
// on a real setting.ini alone.
struct GeneralOptions {
    bool doNotRunScreenSaver = false; // "Run Screen Saver" is "No"
    bool setScreenSaver = false;      // "Set Screen Saver" is "Yes"
    bool tryOtherEngine = false;      // "Try Open Other Mode"
    bool autoPlay = true;
    bool windowMemory = true; // "Memory" of "Main Window Position"
    bool shortPath = true;
    bool restorePlaylist = true;

    bool operator==(const GeneralOptions &) const = default;
};

GeneralOptions readGeneralOptions(const QString &settingsFile);

// Writes every value and hands the flags that act at once (the other
// engine, starting to play, short names) to the running program. The
// screen saver is turned on again at exit only by a run that keeps it
// off, so "Set Screen Saver" is "Yes" only with both boxes ticked.
void writeGeneralOptions(const QString &settingsFile, const GeneralOptions &options);

} // namespace orvane::ui
