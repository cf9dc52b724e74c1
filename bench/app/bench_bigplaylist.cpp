// A 100,000-item playlist file opened in the running main window: from the
// hand-over of its name (as a second instance or a drop delivers it) to the
// filled view drawn, then one scroll to the end and one to the middle, each
// drawn. Offscreen platform, real window, real model, real view.
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/startup.h"
#include "playlist/ovlformat.h"
#include "playlist/playlistmodel.h"
#include "ui/main/frmnormal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvane;

namespace {

constexpr int kItems = 100000;
constexpr int kRuns = 5;
constexpr double kBudgetMs = 1000.0;

QString writeInput()
{
    QDir().mkpath(QStringLiteral(ORVANE_BENCH_MEDIA_DIR));
    const QString path = QStringLiteral(ORVANE_BENCH_MEDIA_DIR "/window-100k.ovl");
    QString text =
        playlist::ovl::kHeader + playlist::ovl::kWrittenVersion + playlist::ovl::kLineEnd;
    for (int i = 0; i < kItems; ++i) {
        playlist::PlayListItem item;
        item.MEDIATYPE = playlist::kMediaWmp;
        item.DOPLAY = i % 11 == 0 ? playlist::kFalse : playlist::kTrue;
        item.DOLOOP = 1;
        item.TITLE = QStringLiteral("Track %1").arg(i);
        item.AUTHOR = QStringLiteral("Artist %1").arg(i / 12);
        item.FILENAME = QStringLiteral("file:///home/user/Music/Artist %1/%2 - Track.mp3")
                            .arg(i / 12)
                            .arg(i, 6, 10, QLatin1Char('0'));
        text += playlist::ovl::formatItemLine(item) + playlist::ovl::kLineEnd;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return {};
    return path;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString input = writeInput();
    if (input.isEmpty()) {
        std::printf("window playlist: cannot write the input file\n");
        return 1;
    }
    core::resetProcessState();
    const QString settings = core::settingsFile();
    QFile::remove(settings);
    core::readStartupSettings(settings);
    core::modMain::LanguageFile = QStringLiteral(ORVANE_APP_DIR "/Language/Default.ovs");
    core::modMain::AutoPlay = false; // the items name no real files

    ui::frmNormal form;
    form.Form_Load();
    form.show();
    auto *view = form.findChild<QTreeView *>(QStringLiteral("lstPlayList"));
    if (!view) {
        std::printf("window playlist: no playlist view\n");
        return 1;
    }
    // The processing loop owns the event loop while it runs, so the runs
    // are driven by a polling timer from inside it, not by a loop of ours.
    std::vector<double> shown, scrolled;
    enum class Step { Clear, Hand, Wait } step = Step::Clear;
    QElapsedTimer timer;
    QDeadlineTimer deadline(120000);
    bool failed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int count = form.playListModel().count();
        if (deadline.hasExpired()) {
            failed = true;
            form.close();
            QCoreApplication::quit();
        } else if (step == Step::Clear) {
            form.ovmPlayList_MenuClick(24); // empty it again
            step = Step::Hand;
        } else if (step == Step::Hand && count == 0) {
            timer.start();
            int cancel = 1;
            form.Form_LinkExecute(input, cancel);
            step = Step::Wait;
        } else if (step == Step::Wait && count == kItems) {
            view->viewport()->repaint();
            shown.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            view->scrollToBottom();
            view->viewport()->repaint();
            view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
            view->viewport()->repaint();
            scrolled.push_back(double(timer.nsecsElapsed()) / 1e6);
            step = Step::Clear;
            if (int(shown.size()) == kRuns) {
                poll.stop();
                form.close();
                QCoreApplication::quit();
            }
        }
    });
    poll.start(1);
    app.exec();
    if (failed || int(shown.size()) != kRuns) {
        std::printf("window playlist: the file did not load in time\n");
        return 1;
    }
    const double shownMs = median(shown);
    std::printf("window playlist: %d-item .ovl handed to the running window, shown in median "
                "%.1f ms (min %.1f, max %.1f) over %d runs; two scrolls drawn in %.1f ms; "
                "budget %.0f ms: %s\n",
                kItems, shownMs, *std::min_element(shown.begin(), shown.end()),
                *std::max_element(shown.begin(), shown.end()), kRuns, median(scrolled), kBudgetMs,
                shownMs + median(scrolled) <= kBudgetMs ? "within" : "OVER");
    return 0;
}
