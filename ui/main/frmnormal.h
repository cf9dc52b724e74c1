#pragma once

#include "adding/progress.h"
#include "playback/playbackwindow.h"
#include "ui/main/mprisplayer.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QSlider;
class QToolBar;
class QTreeView;

namespace orvane::playback {
class MediaPlayer;
class RealPlayer;
class PlaybackSession;
class ProcessingLoop;
} // namespace orvane::playback
namespace orvane::playlist {
class PlayListModel;
}

namespace orvane::ui {

class CoolBar;
class LabelStatusLine;
class MprisService;
class SliderSeekBar;

// The main window: the picture area with the two engines' video and the
// logo above a control bar of five panels (controls, seek and status,
// playlist toolbar, playlist, information). It owns the engines and the
// playlist view and runs the periodic processing.
class frmNormal : public QMainWindow,
                  public playback::PlaybackWindow,
                  public adding::AddingWindow,
                  public MprisPlayer
{
    Q_OBJECT
public:
    explicit frmNormal(QWidget *parent = nullptr);
    ~frmNormal() override;

    // The load sequence; run once by start-up before the window is shown.
    void Form_Load();
    // The close sequence; runs from the close event and never cancels it.
    void Form_QueryUnload();
    // A second instance handed over its command line: queue it, normalised,
    // for the next processing step. cancel is set to 0 (accepted).
    void Form_LinkExecute(const QString &commandText, int &cancel);

    // Commands of the File, Play and PlayList menus the toolbars reach.
    void ovmFile_MenuClick(int id);
    void ovmPlay_MenuClick(int id);
    void ovmPlayList_MenuClick(int id);
    // Lays out the picture area for the window's current size.
    void LayoutPictureArea();

    playlist::PlayListModel &playListModel() { return *m_model; }
    playback::PlaybackSession *session() { return m_session.get(); }
    QLabel *statusLabel() const { return m_lblStatus; }

    // PlaybackWindow
    void pressControlButton(const QString &key) override;
    void runSoundAction() override;
    void setInfoText(const QString &text) override;
    QString mediaInfoText() override;
    void layoutPictureArea() override { LayoutPictureArea(); }
    bool menuHelpShown() const override { return false; }

    // AddingWindow
    std::unique_ptr<adding::ProgressSink> loadStatusDialog() override;
    std::unique_ptr<adding::FailureList> loadErrorLog() override;
    void setEngineViewVisible(adding::EngineView view, bool visible) override;
    QRect engineViewGeometry(adding::EngineView view) const override;
    void setEngineViewGeometry(adding::EngineView view, const QRect &geometry) override;
    void setPlayListViewVisible(bool visible) override;

    // MprisPlayer
    QList<Track> tracks() const override;
    QString currentKey() const override;
    QString playbackStatus() const override;
    qint64 positionUs() const override;
    bool canSeek() const override;
    void playPause() override { ovmPlay_MenuClick(11); }
    void play() override;
    void pause() override;
    void stop() override { ovmPlay_MenuClick(12); }
    void next() override { ovmPlay_MenuClick(15); }
    void previous() override { ovmPlay_MenuClick(14); }
    void goTo(const QString &key) override;
    void setPositionUs(qint64 position) override;
    void raise() override;
    void quit() override { close(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanels();
    QWidget *buildControlPanel();
    QWidget *buildSeekPanel();
    QWidget *buildPlayListToolbar();
    QWidget *buildPlayListView();
    QWidget *buildInfoPanel();
    void finishLoad();
    void createEngines();
    void applyPanelSettings();
    void startProcessing();
    void addMedia(const QString &locations);
    void setVolumeFromControls();
    void lstPlayList_ItemClick();
    void lstPlayList_DblClick();
    void savePlayListAs();
    void openFiles(bool replace);
    QWidget *engineView(adding::EngineView view) const;

    QString m_settingsFile;
    bool m_loaded = false;
    bool m_unloaded = false;
    int m_pictureSizeMode = 0;
    bool m_sorted = false;

    std::unique_ptr<playlist::PlayListModel> m_model;
    std::unique_ptr<playback::MediaPlayer> m_mediaPlayer;
    std::unique_ptr<playback::RealPlayer> m_realPlayer;
    std::unique_ptr<SliderSeekBar> m_seekBar;
    std::unique_ptr<LabelStatusLine> m_statusLine;
    std::unique_ptr<playback::PlaybackSession> m_session;
    std::unique_ptr<playback::ProcessingLoop> m_processing;
    MprisService *m_mpris = nullptr;

    QWidget *m_picImageWindow = nullptr;
    QLabel *m_picLogo = nullptr;
    QWidget *m_mediaPlayerView = nullptr;
    QWidget *m_realPlayerView = nullptr;
    CoolBar *m_coolBar = nullptr;
    QToolBar *m_tobControl = nullptr;
    QSlider *m_silVolume = nullptr;
    QSlider *m_silSeek = nullptr;
    QLabel *m_lblStatus = nullptr;
    QToolBar *m_tobPlayList = nullptr;
    QTreeView *m_lstPlayList = nullptr;
    QGroupBox *m_fraInfo = nullptr;
    QPlainTextEdit *m_txtInfo = nullptr;
};

} // namespace orvane::ui
