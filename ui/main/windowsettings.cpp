#include "ui/main/windowsettings.h"

#include "core/inifile.h"
#include "core/settingkeys.h"

namespace orvane::ui {

using namespace orvane::core;
using namespace orvane::core::settings;

namespace {

const QString kAllShown = QStringLiteral("TTTTTT");

bool memoryOn(const QString &settingsFile)
{
    bool memory = true;
    IniReadWrite(kWindowPosition, kMemory, memory, settingsFile, false);
    return memory;
}

} // namespace

PanelMode readPanelMode(const QString &settingsFile)
{
    QString mode = QStringLiteral("All");
    IniReadWrite(kControlPanels, kMode, mode, settingsFile, false);
    const QString lower = mode.toLower();
    if (lower == QStringLiteral("all"))
        return PanelMode::All;
    if (lower == QStringLiteral("memorize"))
        return PanelMode::Memorize;
    if (lower == QStringLiteral("customize"))
        return PanelMode::Customize;
    return PanelMode::Other;
}

PanelVisibility parseShowSetting(const QString &text)
{
    const QString flags = text.size() < 6 ? kAllShown : text;
    PanelVisibility panels;
    panels.bar = flags.at(0) == QLatin1Char('T');
    for (int band = 0; band < 5; ++band)
        panels.bands[size_t(band)] = flags.at(band + 1) == QLatin1Char('T');
    return panels;
}

QString showSettingText(const PanelVisibility &panels)
{
    QString text(panels.bar ? QStringLiteral("T") : QStringLiteral("F"));
    for (bool shown : panels.bands)
        text += shown ? QLatin1Char('T') : QLatin1Char('F');
    return text;
}

PanelVisibility readShowSetting(const QString &settingsFile)
{
    QString text = kAllShown;
    IniReadWrite(kControlPanels, kShowSetting, text, settingsFile, false);
    return parseShowSetting(text);
}

bool writeShowSettingOnClose(const QString &settingsFile, const PanelVisibility &panels)
{
    if (readPanelMode(settingsFile) != PanelMode::Memorize)
        return false;
    QString text = showSettingText(panels);
    return IniReadWrite(kControlPanels, kShowSetting, text, settingsFile, true);
}

WindowPosition readWindowPosition(const QString &settingsFile, const WindowPosition &current)
{
    WindowPosition pos = current;
    pos.pictureWidth = 5655;
    pos.pictureHeight = 4305;
    if (!memoryOn(settingsFile))
        return pos;
    IniReadWrite(kWindowPosition, kState, pos.state, settingsFile, false);
    if (pos.state < kStateNormal || pos.state > kStateMaximised)
        pos.state = current.state;
    IniReadWrite(kWindowPosition, kLeft, pos.left, settingsFile, false);
    IniReadWrite(kWindowPosition, kTop, pos.top, settingsFile, false);
    IniReadWrite(kWindowPosition, kWidth, pos.pictureWidth, settingsFile, false);
    IniReadWrite(kWindowPosition, kHeight, pos.pictureHeight, settingsFile, false);
    return pos;
}

void writeWindowPosition(const QString &settingsFile, const WindowPosition &now)
{
    if (!memoryOn(settingsFile))
        return;
    qint32 state = now.state;
    IniReadWrite(kWindowPosition, kState, state, settingsFile, true);
    if (now.state != kStateNormal)
        return;
    float left = now.left;
    float top = now.top;
    float width = now.pictureWidth;
    float height = now.pictureHeight;
    IniReadWrite(kWindowPosition, kLeft, left, settingsFile, true);
    IniReadWrite(kWindowPosition, kTop, top, settingsFile, true);
    IniReadWrite(kWindowPosition, kWidth, width, settingsFile, true);
    IniReadWrite(kWindowPosition, kHeight, height, settingsFile, true);
}

} // namespace orvane::ui
