#pragma once

#include "playback/engine/mediaplayer.h"

#include <QDialog>
#include <QList>

#include <functional>

class QLabel;

namespace orvane::ui {

// An engine's small dialog: its statistics, settings or about text as rows
// of label and value (or one block of text), shown modally with OK.
class frmEngineReport : public QDialog
{
    Q_OBJECT
public:
    using Source = std::function<playback::EngineReport()>;

    frmEngineReport(const playback::EngineReport &report, QWidget *owner);
    // Statistics change while media plays: the values are read again from
    // source every second for as long as the dialog is open.
    void followSource(Source source);

    // Turns "Label: value" lines into rows; other lines become rows without label.
    static playback::EngineReport fromText(const QString &title, const QString &text);

private:
    void refresh();

    QList<QLabel *> m_values;
    Source m_source;
};

} // namespace orvane::ui
