#pragma once

#include "core/pendingcommands.h"

#include <QString>

class QObject;

namespace orvane::core::modMain {

// Process-wide state prepared by the start-up procedure and read across the
// program. Everything lives on the user-interface thread.

inline bool IsSecondInstance = false;
inline bool ShowErrors = true;
inline bool NoLongPathApi = false; // Linux has no short names: never set
inline bool TryOtherEngine = false;
inline bool AutoPlay = true;
inline bool UseShortPath = true;

inline QString WmpFileTypes;  // first engine's extension list
inline QString RealFileTypes; // second engine's extension list
inline QString LanguageFile;  // full path of the validated language file

inline QString PlayListFilter; // "*.ovl"
inline QString WmpFilter;
inline QString RealFilter;

// The main window once its load handler ran; dialogs reach it through this.
inline QObject *MainForm = nullptr;

inline PendingCommandQueue PendingCommand;

// Periodic processing (set up by the main window).
inline int ProcessingMode = 1; // 0 timer driven, 1 loop driven
inline bool ProcessingEnabled = false;
inline bool QuitProcessing = false;

} // namespace orvane::core::modMain
