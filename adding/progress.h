#pragma once

#include <QRect>
#include <QString>

#include <memory>

namespace orvane::adding {

// The text that leaves a line of the progress dialog as it is.
inline const QString kKeepLine = QString(QChar(u'\0'));

// The progress dialog (frmStatus) as the adding code sees it. The two flags
// are raised by the dialog's buttons and read and cleared by the working
// code between its steps; the dialog itself never reads them.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;

    // Lines equal to kKeepLine stay unchanged. current or total -1: no
    // progress (bar 0, empty counter); total 0: bar and counter stay. skip
    // and cancel: 0 disables the button, 1 leaves it, anything else enables it.
    virtual void Show_Status(const QString &line1, const QString &line2, const QString &line3,
                             qint32 current, qint32 total, qint16 skipEnabled,
                             qint16 cancelEnabled) = 0;

    bool SkipRequested = false;   // Skip or Cancel was pressed
    bool CancelRequested = false; // Cancel was pressed
};

// The error-log dialog (frmErrorLog): the locations that could not be added.
class FailureList
{
public:
    virtual ~FailureList() = default;
    virtual void clearItems() = 0;
    virtual void addItem(const QString &key, const QString &text) = 0;
    // Modal over the main window; returns when the user closed it.
    virtual void showModal() = 0;
};

// Which engine's picture a geometry belongs to.
enum class EngineView { MediaPlayer, RealPlayer };

// The main window as adding media needs it: it makes the two dialogs and
// hides, mutes and moves away its engine pictures and its playlist view
// while the engines probe locations.
class AddingWindow
{
public:
    virtual ~AddingWindow() = default;

    // A progress dialog, loaded and shown modeless; destroying it unloads it.
    virtual std::unique_ptr<ProgressSink> loadStatusDialog() = 0;
    // An error-log dialog, loaded but not shown.
    virtual std::unique_ptr<FailureList> loadErrorLog() = 0;

    virtual void setEngineViewVisible(EngineView view, bool visible) = 0;
    virtual QRect engineViewGeometry(EngineView view) const = 0;
    virtual void setEngineViewGeometry(EngineView view, const QRect &geometry) = 0;
    virtual void setPlayListViewVisible(bool visible) = 0;
};

} // namespace orvane::adding
