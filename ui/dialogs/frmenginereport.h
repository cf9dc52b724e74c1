#pragma once

#include "playback/engine/mediaplayer.h"

#include <QDialog>

namespace orvane::ui {

// An engine's small dialog: its statistics, settings or about text as rows
// of label and value (or one block of text), shown modally with OK.
class frmEngineReport : public QDialog
{
    Q_OBJECT
public:
    frmEngineReport(const playback::EngineReport &report, QWidget *owner);

    // Turns "Label: value" lines into rows; other lines become rows without label.
    static playback::EngineReport fromText(const QString &title, const QString &text);
};

} // namespace orvane::ui
