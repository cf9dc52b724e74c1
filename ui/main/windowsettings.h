#pragma once

#include <QString>

#include <array>

namespace orvane::ui {

// What setting.ini remembers of the main window: its place and the size of
// its picture area, and which control panels are shown.

enum class PanelMode { All, Memorize, Customize, Other };

// The control bar as a whole, then its five bands.
struct PanelVisibility {
    bool bar = true;
    std::array<bool, 5> bands{true, true, true, true, true};

    bool operator==(const PanelVisibility &) const = default;
};

// "Mode" of "Control Panels Setting", compared in lower case ("All" when
// missing).
PanelMode readPanelMode(const QString &settingsFile);

// "T" or "F" per panel; a text shorter than six characters shows all.
PanelVisibility parseShowSetting(const QString &text);
QString showSettingText(const PanelVisibility &panels);
PanelVisibility readShowSetting(const QString &settingsFile);
// Writes "Show Setting" when the mode is "memorize"; false otherwise.
bool writeShowSettingOnClose(const QString &settingsFile, const PanelVisibility &panels);

enum WindowState : qint32 { kStateNormal = 0, kStateMinimised = 1, kStateMaximised = 2 };

struct WindowPosition {
    qint32 state = kStateNormal;
    float left = 0;
    float top = 0;
    float pictureWidth = 5655; // twips
    float pictureHeight = 4305;
};

// The remembered position when "Memory" is on; current (the window's own
// state and position) stands in for missing keys. With "Memory" off, the
// current position and the designed picture size.
WindowPosition readWindowPosition(const QString &settingsFile, const WindowPosition &current);

// At close with "Memory" on: "State" always, the place and the picture size
// only in the normal state.
void writeWindowPosition(const QString &settingsFile, const WindowPosition &now);

} // namespace orvane::ui
