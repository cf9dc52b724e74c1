#pragma once

#include "adding/progress.h"
#include "playback/playbackwindow.h"
#include "ui/main/mprisplayer.h"

#include <QMainWindow>
#include <QPixmap>
#include <QSizeF>

#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QSlider;
class QToolBar;
class QTreeView;

namespace orvane::playback {
class MixerWatch;
class MediaPlayer;
class RealPlayer;
class PlaybackSession;
class ProcessingLoop;
} // namespace orvane::playback
namespace orvane::playlist {
class PlayListModel;
}

namespace orvane::ui {

class CommonDialog;
class CoolBar;
class MainMenus;
class LabelStatusLine;
class MprisService;
class modSub_Class;
class SliderSeekBar;
class StatusLabel;

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
    // The Controls menu: 41 the whole control bar, 43 to 47 its bands.
    void ovmControls_MenuClick(int id);
    // The engines' statistics (61, 62), settings (63, 64) and about (75, 76).
    void ovmEngines_MenuClick(int id);
    // The Help menu's contents (72, the manual) and about box (73).
    void ovmHelp_MenuClick(int id);
    // Creates the menus and binds their keys; start-up runs it once.
    void BuildMenus();
    MainMenus *menus() const { return m_menus.get(); }
    // The Comment item's check mark: whether saved playlists keep comments.
    bool commentChecked() const;
    // The window's file dialog, which the open and options dialogs share.
    CommonDialog &comDialog();
    // The open dialog, modal: 1 opens (playlist filter first), 2 adds.
    void showOpenDialog(qint16 openMode);
    // The program's options, modal.
    void showOptionsDialog();
    // The playlist editor, modal, after stopping what plays.
    void showEditorDialog();
    // Display sizes 65 (the clip's own), 66 (double) and 67 (fit to the
    // window); a size set with nothing loaded waits for the next media.
    void ovmoDisplaySizes_MenuClick(int id);
    // 0 the clip's size, 1 double, 2 fit to the window.
    int pictureSizeMode() const { return m_pictureSizeMode; }
    // Lays out the picture area for the window's current size.
    void LayoutPictureArea();

    // False while the whole control bar is rearranged by a command that
    // sizes the window itself; the bar's height changes then leave the
    // window alone.
    void setPanelsReady(bool ready) { m_panelsReady = ready; }
    bool panelsReady() const { return m_panelsReady; }
    CoolBar *coolBar() const { return m_coolBar; }
    // The picture area the normal window keeps, in twips.
    QSizeF pictureSize() const { return m_picture; }

    // The Help menu's picture item and the two caption pictures (0 active,
    // 1 inactive).
    QPixmap menuPicture() const { return m_picMenu; }
    QPixmap titlebarPicture(int index) const { return m_picTitlebar.at(size_t(index & 1)); }

    playlist::PlayListModel &playListModel() { return *m_model; }
    playback::PlaybackSession *session() { return m_session.get(); }
    StatusLabel *statusLabel() const { return m_lblStatus; }
    // The own caption and the media keys; null before the window loads.
    modSub_Class *subClass() const { return m_subClass; }

    // PlaybackWindow
    void pressControlButton(const QString &key) override;
    void runSoundAction() override;
    void refreshSoundControls() override;
    void setInfoText(const QString &text) override;
    QString mediaInfoText() override;
    void layoutPictureArea() override { LayoutPictureArea(); }
    bool menuHelpShown() const override;
    bool statusShown() const override;

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
    double volume() const override;
    void setVolume(double volume) override;
    bool repeatAll() const override;
    void setRepeatAll(bool on) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool refusedWhileBusy();
    void showLoadedMediaInfo();
    void buildPanels();
    QWidget *buildControlPanel();
    QWidget *buildSeekPanel();
    QWidget *buildPlayListToolbar();
    QWidget *buildPlayListView();
    QWidget *buildInfoPanel();
    void applyPanelTexts();
    void finishLoad();
    void createEngines();
    void loadPictures();
    void installCaption();
    void removeCaption();
    void applyPanelSettings();
    void Form_Resize();
    void CoolBar_HeightChanged(int height);
    void layOutPictureArea(QSizeF area);
    void applyMinimumSize();
    QSize ruleMinimumSize() const;
    void setOuterSize(QSizeF twips);
    QSizeF outerSize() const;
    QSizeF innerSize() const;
    QSizeF windowFrame() const;
    double barHeight() const;
    bool barVisible() const;
    qint32 windowStateCode() const;
    void startProcessing();
    void addMedia(const QString &locations);
    void setVolumeFromControls();
    void watchMixer();
    // The item that plays or is paused; empty when none does.
    QString playingKey() const;
    void describePlayingTrack(Track &track) const;
    // Playback may have moved on: the view's mark and the desktop follow.
    void playbackChanged();
    void showSoundState(bool muted);
    void lstPlayList_ItemClick();
    void lstPlayList_DblClick();
    void savePlayListAs();
    void changePlayListHeight(int id);
    QWidget *engineView(adding::EngineView view) const;

    QString m_settingsFile;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_closeWhenIdle = false; // closed while adding: once it has ended
    int m_pictureSizeMode = 0;
    bool m_panelsReady = false;
    qint32 m_previousWindowState = 0;
    QSizeF m_picture{5655, 4305}; // twips
    QPixmap m_picMenu;
    std::array<QPixmap, 2> m_picTitlebar;
    bool m_sorted = false;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;

    std::unique_ptr<playlist::PlayListModel> m_model;
    std::unique_ptr<playback::MediaPlayer> m_mediaPlayer;
    std::unique_ptr<playback::RealPlayer> m_realPlayer;
    std::unique_ptr<SliderSeekBar> m_seekBar;
    std::unique_ptr<LabelStatusLine> m_statusLine;
    std::unique_ptr<playback::PlaybackSession> m_session;
    std::unique_ptr<playback::ProcessingLoop> m_processing;
    MprisService *m_mpris = nullptr;
    std::unique_ptr<playback::MixerWatch> m_mixerWatch;
    // Set while the controls show what the mixer holds: their change
    // signals must not write it back.
    bool m_followingMixer = false;
    double m_mixerVolume = 1.0; // the mixer's volume as MPRIS reads it, 0 to 1
    std::unique_ptr<MainMenus> m_menus;
    modSub_Class *m_subClass = nullptr;
    std::unique_ptr<CommonDialog> m_comDialog;

    QWidget *m_picImageWindow = nullptr;
    QLabel *m_picLogo = nullptr;
    QWidget *m_mediaPlayerView = nullptr;
    QWidget *m_realPlayerView = nullptr;
    CoolBar *m_coolBar = nullptr;
    QToolBar *m_tobControl = nullptr;
    QSlider *m_silVolume = nullptr;
    QSlider *m_silSeek = nullptr;
    StatusLabel *m_lblStatus = nullptr;
    QToolBar *m_tobPlayList = nullptr;
    QTreeView *m_lstPlayList = nullptr;
    QGroupBox *m_fraInfo = nullptr;
    QPlainTextEdit *m_txtInfo = nullptr;
};

} // namespace orvane::ui
