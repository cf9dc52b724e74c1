#pragma once

#include <QString>

// Section and key names of setting.ini, as the file has always spelled them.
namespace orvane::core::settings {

inline const QString kGeneral = QStringLiteral("General Setting");
inline const QString kRunScreenSaver = QStringLiteral("Run Screen Saver");
inline const QString kSetScreenSaver = QStringLiteral("Set Screen Saver");
inline const QString kTryOpenOtherMode = QStringLiteral("Try Open Other Mode");
inline const QString kAutoPlay = QStringLiteral("AutoPlay");
inline const QString kShortPath = QStringLiteral("ShortPath");
inline const QString kShowOrgBar = QStringLiteral("ShowOrgBar");
inline const QString kLanguageFile = QStringLiteral("LanguageFile");
inline const QString kProcessingMode = QStringLiteral("Processing Mode");
inline const QString kProcessingInterval = QStringLiteral("Processing Interval");
inline const QString kRestorePlaylist = QStringLiteral("Restore Playlist");

inline const QString kWindowPosition = QStringLiteral("Main Window Position");
inline const QString kMemory = QStringLiteral("Memory");
inline const QString kState = QStringLiteral("State");
inline const QString kLeft = QStringLiteral("Left");
inline const QString kTop = QStringLiteral("Top");
inline const QString kWidth = QStringLiteral("Width");
inline const QString kHeight = QStringLiteral("Height");

inline const QString kControlPanels = QStringLiteral("Control Panels Setting");
inline const QString kMode = QStringLiteral("Mode");
inline const QString kShowSetting = QStringLiteral("Show Setting");

inline const QString kMediaPlayerSetting = QStringLiteral("Media Player Setting");
inline const QString kRealPlayerSetting = QStringLiteral("RealPlayer Setting");
inline const QString kFileTypes = QStringLiteral("File Types");

inline const QString kConvertSetting = QStringLiteral("Convert Setting");
inline const QString kScmpx = QStringLiteral("SCMPX");

} // namespace orvane::core::settings
