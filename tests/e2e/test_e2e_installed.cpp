// A user installs the Debian package of this build, here unpacked into a
// folder of its own, and runs the program from it: it finds its language
// files and manual in its installation, keeps what it writes in the user's
// configuration folder and never touches the installation, and the desktop
// knows a playlist it saved by its type. The same program takes the
// screenshots the AppStream data promises to software centres.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/media.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include <cstdlib>
#include <map>

#include <signal.h>

using namespace orvane::e2e;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
};

// A tool run with an environment of its own; output is standard output and
// error together, trimmed.
ToolRun runTool(const QProcessEnvironment &env, const QString &program, const QStringList &args,
                int timeoutMs = 30000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    ToolRun run;
    if (!process.waitForStarted(10000)) {
        run.output = QStringLiteral("(did not start)");
        return run;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        run.output = QStringLiteral("(did not finish in time)");
        return run;
    }
    run.output = QString::fromLocal8Bit(process.readAll()).trimmed();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    return run;
}

// Every file and folder below root (root included) with its size, time of
// change and permissions: a file written, replaced, created and removed
// again, or a folder gaining a file all change a line.
QStringList listing(const QString &root)
{
    QStringList lines;
    const auto line = [&](const QFileInfo &info) {
        lines << QStringLiteral("%1 size=%2 mtime=%3 mode=%4")
                     .arg(QDir(root).relativeFilePath(info.filePath()))
                     .arg(info.isDir() ? 0 : info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch())
                     .arg(int(info.permissions()), 0, 16);
    };
    line(QFileInfo(root));
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        line(it.fileInfo());
    }
    lines.sort();
    return lines;
}

// The lines of one listing that the other does not have, marked.
QString difference(const QStringList &before, const QStringList &after)
{
    QString text;
    for (const QString &l : before)
        if (!after.contains(l))
            text += QStringLiteral("\n- ") + l;
    for (const QString &l : after)
        if (!before.contains(l))
            text += QStringLiteral("\n+ ") + l;
    return text;
}

// A screenshot the AppStream data names, with the size it states.
struct Screenshot {
    QString name; // the image's file name without ".png"
    QString url;
    QSize size;
    QString caption; // the untranslated one
};

QList<Screenshot> metainfoScreenshots(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path;
        return {};
    }
    QList<Screenshot> shots;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"screenshot") {
            shots.append(Screenshot{});
        } else if (xml.name() == u"caption" && !shots.isEmpty() &&
                   !xml.attributes().hasAttribute(QStringLiteral("xml:lang"))) {
            shots.last().caption = xml.readElementText();
        } else if (xml.name() == u"image" && !shots.isEmpty()) {
            Screenshot &shot = shots.last();
            shot.size = QSize(xml.attributes().value(QStringLiteral("width")).toInt(),
                              xml.attributes().value(QStringLiteral("height")).toInt());
            shot.url = xml.readElementText().trimmed();
            shot.name = QUrl(shot.url).fileName().chopped(4);
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return shots;
}

// The package is made once for every story; each story unpacks its own copy.
class PackageBuild
{
public:
    static PackageBuild &instance()
    {
        static PackageBuild build;
        return build;
    }
    QString deb() const { return m_deb; }
    QString why() const { return m_why; }
    bool toolsMissing() const { return m_toolsMissing; }

private:
    PackageBuild()
    {
        for (const char *tool : {"cpack", "dpkg-deb", "dpkg-shlibdeps"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                m_why = QString::fromLatin1(tool) + QStringLiteral(" is not installed");
                m_toolsMissing = true;
                return;
            }
        }
        if (!m_dir.isValid()) {
            m_why = QStringLiteral("no temporary folder");
            return;
        }
        // In a package folder of its own: the package test of the build
        // tree may run cpack in the build folder at the same time.
        const ToolRun run =
            runTool(QProcessEnvironment::systemEnvironment(), QStringLiteral("cpack"),
                    {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                     QStringLiteral(ORVANE_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"),
                     m_dir.path()},
                    240000);
        const QStringList debs =
            QDir(m_dir.path()).entryList({QStringLiteral("orvane_*.deb")}, QDir::Files);
        if (run.exitCode != 0 || debs.size() != 1) {
            m_why = QStringLiteral("cpack failed: ") + run.output.right(3000);
            return;
        }
        m_deb = m_dir.filePath(debs.first());
    }

    QTemporaryDir m_dir;
    QString m_deb;
    QString m_why;
    bool m_toolsMissing = false;
};

class Installed : public DesktopTest
{
protected:
    void SetUp() override
    {
        const PackageBuild &package = PackageBuild::instance();
        if (package.toolsMissing())
            GTEST_SKIP() << package.why().toStdString();
        ASSERT_FALSE(package.deb().isEmpty()) << package.why().toStdString();
        DesktopTest::SetUp();
        ASSERT_TRUE(m_root.isValid());
        const ToolRun unpack =
            runTool(QProcessEnvironment::systemEnvironment(), QStringLiteral("dpkg-deb"),
                    {QStringLiteral("-x"), package.deb(), m_root.path()});
        ASSERT_EQ(unpack.exitCode, 0) << unpack.output.toStdString();
        ASSERT_TRUE(QFileInfo(program()).isExecutable());
    }

    QString program() const { return m_root.filePath(QStringLiteral("usr/bin/orvane")); }
    QString share() const { return m_root.filePath(QStringLiteral("usr/share")); }
    // Where the program's settings belong: $XDG_CONFIG_HOME/orvane/.
    QString configFolder() const
    {
        return m_desktop.environment().value(QStringLiteral("XDG_CONFIG_HOME")) +
               QStringLiteral("/orvane");
    }

    // The unpacked program, started as a user starts it from the menu.
    Player &startInstalled(const QStringList &args = {})
    {
        m_players.push_back(std::make_unique<Player>(m_desktop, m_folder));
        Player &player = *m_players.back();
        player.setProgram(program());
        EXPECT_TRUE(player.start(args));
        EXPECT_FALSE(player.window().isEmpty()) << "no main window";
        return player;
    }

    void writeUserSettings(const QByteArray &text)
    {
        ASSERT_TRUE(QDir().mkpath(configFolder()));
        QFile file(configFolder() + QStringLiteral("/setting.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    // Files > Quit, and the program ends by itself.
    void quit(Player &player)
    {
        ASSERT_TRUE(quitFromTheFilesMenu(player)) << player.log().toStdString();
    }

    QStringList menuNames(Player &player)
    {
        AtSpi &atspi = player.accessibility();
        const Accessible bar =
            atspi.findByRole(atspi.application(player.pid()), QStringLiteral("menu bar"));
        QStringList names;
        for (const Accessible &menu : atspi.children(bar))
            names << atspi.name(menu);
        return names;
    }

    // Help > Contents, and the manual's contents page with its first
    // chapter in the help window.
    void expectManual(Player &player, const QString &helpTitle, const QString &contentsTitle,
                      const QString &firstChapter)
    {
        player.activate();
        ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+h"))) << "the Help menu opens";
        player.key(QStringLiteral("c"));
        ASSERT_FALSE(
            player.waitForActiveWindow(u'^' + QRegularExpression::escape(helpTitle)).isEmpty())
            << "the help window opens";
        EXPECT_FALSE(
            player
                .waitForWindow(u'^' + QRegularExpression::escape(helpTitle + QStringLiteral(" - ") +
                                                                 contentsTitle))
                .isEmpty())
            << "the manual's contents page, not a page that could not be found";
        AtSpi &atspi = player.accessibility();
        EXPECT_TRUE(waitUntil([&] {
            return atspi
                .findByNamePattern(atspi.application(player.pid()),
                                   QRegularExpression(QRegularExpression::escape(firstChapter)))
                .isValid();
        })) << "the contents list names the first chapter";
    }

    void keepScreenshot(const QString &name)
    {
        m_desktop.screenshot(QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/installed-") + name +
                             QStringLiteral(".png"));
    }

    // The desktop's environment with the installation's programs on PATH.
    QProcessEnvironment launcherEnvironment() const
    {
        QProcessEnvironment env = mimeEnvironment();
        env.insert(QStringLiteral("PATH"), m_root.filePath(QStringLiteral("usr/bin")) + u':' +
                                               env.value(QStringLiteral("PATH")));
        return env;
    }

    QProcessEnvironment mimeEnvironment() const
    {
        QProcessEnvironment env = m_desktop.environment();
        // The installation's MIME data before the system's, as a desktop
        // with the package installed under a prefix of its own has it.
        env.insert(QStringLiteral("XDG_DATA_DIRS"), share() + QStringLiteral(":/usr/share"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_desktop.home() + QStringLiteral("/data"));
        return env;
    }

    void TearDown() override
    {
        DesktopTest::TearDown();
        if (m_launched <= 0)
            return;
        if (HasFailure()) {
            QFile log(m_launchLog);
            if (log.open(QIODevice::ReadOnly))
                std::printf("--- launched program ---\n%s\n",
                            log.readAll().right(4000).constData());
        }
        // Started by the launcher, so no child of ours to wait for.
        ::kill(pid_t(m_launched), SIGKILL);
        waitUntil([&] { return ::kill(pid_t(m_launched), 0) != 0; }, 5000);
    }

    // What a file manager does on a double click: launch the installed
    // desktop entry with the file, through GIO, which finds the program on
    // PATH and hands it the file as its Exec line asks.
    bool launchDesktopEntry(const QString &file)
    {
        QProcessEnvironment env = launcherEnvironment();
        env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        m_launchLog = m_desktop.home() + QStringLiteral("/launched.log");
        QProcess gio;
        gio.setProcessEnvironment(env);
        gio.setWorkingDirectory(m_desktop.home());
        // The program keeps what the launcher gives it: a file, not a pipe
        // that would hold this process up.
        gio.setStandardOutputFile(m_launchLog);
        gio.setProcessChannelMode(QProcess::MergedChannels);
        gio.start(QStringLiteral("gio"),
                  {QStringLiteral("launch"),
                   share() + QStringLiteral("/applications/orvane.desktop"), file});
        return gio.waitForFinished(15000) && gio.exitStatus() == QProcess::NormalExit &&
               gio.exitCode() == 0;
    }

    QTemporaryDir m_root;
    qint64 m_launched = 0;
    QString m_launchLog;
};

// The client area of a window on the root window. xwininfo, not xdotool:
// xdotool reports a reparented window's place off by the frame's title bar.
QRect windowRect(Desktop &desktop, const QString &id)
{
    const QString text = desktop.run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}, 5000);
    static const QRegularExpression field(
        QStringLiteral(
            "^\\s*(Absolute upper-left X|Absolute upper-left Y|Width|Height):\\s*(-?\\d+)$"),
        QRegularExpression::MultilineOption);
    std::map<QString, int> values;
    for (auto it = field.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        values[m.captured(1)] = m.captured(2).toInt();
    }
    if (values.size() != 4)
        return {};
    return {values[QStringLiteral("Absolute upper-left X")],
            values[QStringLiteral("Absolute upper-left Y")], values[QStringLiteral("Width")],
            values[QStringLiteral("Height")]};
}

// The icon of that size a window gives the window manager (_NET_WM_ICON:
// width, height and ARGB pixels, for each size in turn); null when it gives
// none of that size.
QImage windowIcon(Desktop &desktop, const QString &id, int size)
{
    const QString text = desktop.run(QStringLiteral("xprop"),
                                     {QStringLiteral("-id"), id, QStringLiteral("-notype"),
                                      QStringLiteral("32c"), QStringLiteral("_NET_WM_ICON")},
                                     10000);
    const QStringList numbers = text.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    qsizetype at = 0;
    while (at + 2 <= numbers.size()) {
        const int width = numbers[at].trimmed().toInt();
        const int height = numbers[at + 1].trimmed().toInt();
        at += 2;
        if (width <= 0 || height <= 0 || at + qsizetype(width) * height > numbers.size())
            return {};
        if (width == size && height == size) {
            QImage image(width, height, QImage::Format_ARGB32);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    image.setPixel(x, y, numbers[at + y * width + x].trimmed().toUInt());
            return image;
        }
        at += qsizetype(width) * height;
    }
    return {};
}

// Whether two pictures look the same: the colour of a see-through pixel
// does not count, and scaling may move a channel by a step or two.
bool samePicture(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            if (qAlpha(p) == 0 && qAlpha(q) == 0)
                continue;
            if (std::abs(qAlpha(p) - qAlpha(q)) > 2 || std::abs(qRed(p) - qRed(q)) > 2 ||
                std::abs(qGreen(p) - qGreen(q)) > 2 || std::abs(qBlue(p) - qBlue(q)) > 2)
                ++differing;
        }
    }
    return differing <= left.width() * left.height() / 100;
}

// Gives a window a client area of exactly this size.
bool resizeWindow(Desktop &desktop, const QString &id, const QSize &size)
{
    return waitUntil(
        [&] {
            desktop.run(QStringLiteral("xdotool"),
                        {QStringLiteral("windowsize"), QStringLiteral("--sync"), id,
                         QString::number(size.width()), QString::number(size.height())},
                        3000);
            return windowRect(desktop, id).size() == size;
        },
        10000, 200);
}

// The client area of the window, cut out of the whole screen: a video drawn
// in a window of its own shows as on the user's screen.
bool saveWindow(Desktop &desktop, const QString &id, const QString &pngPath)
{
    const QRect rect = windowRect(desktop, id);
    const QString screen = pngPath + QStringLiteral(".screen.png");
    if (rect.isEmpty() || !desktop.screenshot(screen))
        return false;
    const QImage whole(screen);
    QFile::remove(screen);
    return !whole.isNull() && whole.copy(rect).save(pngPath);
}

// A video worth looking at in a software centre.
QString fractalVideo()
{
    return orvane::test::generatedMedia(
        QStringLiteral("appstream-into-the-fractal.avi"),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("mandelbrot=size=640x360:rate=25,trim=duration=60"), QStringLiteral("-f"),
         QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=frequency=220:duration=60"), QStringLiteral("-c:v"),
         QStringLiteral("mpeg4"), QStringLiteral("-q:v"), QStringLiteral("6"),
         QStringLiteral("-c:a"), QStringLiteral("mp3"), QStringLiteral("-metadata"),
         QStringLiteral("title=Into the Fractal"), QStringLiteral("-metadata"),
         QStringLiteral("artist=Orvane Test Pictures"), QStringLiteral("-shortest")});
}

} // namespace

TEST_F(Installed, ItFindsItsLanguageFilesAndItsManualInItsInstallation)
{
    Player &english = startInstalled();
    // The task bar and the title bar show the program's own icon, and a
    // dock groups the window with the menu's launcher by its class.
    const QImage shipped(share() + QStringLiteral("/icons/hicolor/48x48/apps/orvane.png"));
    ASSERT_FALSE(shipped.isNull());
    EXPECT_TRUE(samePicture(windowIcon(m_desktop, english.window(), 48), shipped))
        << "the window's icon is the installed one";
    EXPECT_TRUE(m_desktop
                    .run(QStringLiteral("xprop"),
                         {QStringLiteral("-id"), english.window(), QStringLiteral("WM_CLASS")})
                    .endsWith(QStringLiteral(", \"orvane\"")))
        << "the class the desktop entry's StartupWMClass names";
    EXPECT_EQ(menuNames(english),
              (QStringList{QStringLiteral("Files"), QStringLiteral("Play"),
                           QStringLiteral("Playlist"), QStringLiteral("Controls"),
                           QStringLiteral("Options"), QStringLiteral("Help")}))
        << "the English texts of share/orvane/Language/Default.ovs";
    ASSERT_NO_FATAL_FAILURE(expectManual(english, QStringLiteral("Orvane Help"),
                                         QStringLiteral("Contents"),
                                         QStringLiteral("Getting started")));
    keepScreenshot(QStringLiteral("english-help"));
    ASSERT_NO_FATAL_FAILURE(quit(english));

    ASSERT_NO_FATAL_FAILURE(
        writeUserSettings("[General Setting]\r\nLanguageFile=Japanese.ovs\r\n"));
    Player &japanese = startInstalled();
    const QStringList menus = menuNames(japanese);
    EXPECT_EQ(menus.value(0), QStringLiteral("ファイル(F)"));
    EXPECT_EQ(menus.value(5), QStringLiteral("ヘルプ(H)"));
    ASSERT_NO_FATAL_FAILURE(expectManual(japanese, QStringLiteral("Orvane ヘルプ"),
                                         QStringLiteral("目次"), QStringLiteral("はじめに")));
    keepScreenshot(QStringLiteral("japanese-help"));
}

TEST_F(Installed, ARunWritesOnlyIntoTheConfigFolderAndItsPlaylistHasItsOwnType)
{
    const QStringList before = listing(m_root.path());
    Player &player = startInstalled(
        {mp3Clip(QStringLiteral("First"), 20), mp3Clip(QStringLiteral("Second"), 20)});
    ASSERT_TRUE(waitUntil([&] { return player.playlist().size() == 2; }, 20000))
        << player.playlist().join(u'|').toStdString();
    // A window size is a setting the program writes when it ends.
    ASSERT_TRUE(resizeWindow(m_desktop, player.window(), QSize(700, 820)));
    ASSERT_NO_FATAL_FAILURE(quit(player));

    EXPECT_EQ(difference(before, listing(m_root.path())), QString())
        << "the run wrote into its installation";
    QFile settings(configFolder() + QStringLiteral("/setting.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly))
        << "no setting.ini in " << configFolder().toStdString();
    EXPECT_TRUE(settings.readAll().contains("[Main Window Position]"));
    const QString saved = configFolder() + QStringLiteral("/lastplaylist.ovl");
    ASSERT_TRUE(QFileInfo(saved).isFile()) << "the playlist kept for the next start";

    // The desktop's MIME database, with the installation's package in it.
    const ToolRun update = runTool(mimeEnvironment(), QStringLiteral("update-mime-database"),
                                   {share() + QStringLiteral("/mime")});
    ASSERT_EQ(update.exitCode, 0) << update.output.toStdString();
    // xdg-mime asks gio where the desktop is GNOME-like; on a desktop it
    // does not know it asks file(1), whose own magic data knows nothing of
    // the shared MIME database.
    QProcessEnvironment env = mimeEnvironment();
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    const QString named = m_desktop.home() + QStringLiteral("/x.ovl");
    const QString unnamed = m_desktop.home() + QStringLiteral("/playlist-from-a-mail");
    ASSERT_TRUE(QFile::copy(saved, named) && QFile::copy(saved, unnamed));
    for (const QString &file : {named, unnamed}) {
        const ToolRun query = runTool(env, QStringLiteral("xdg-mime"),
                                      {QStringLiteral("query"), QStringLiteral("filetype"), file});
        EXPECT_EQ(query.output, QStringLiteral("application/x-orvane-playlist"))
            << QFileInfo(file).fileName().toStdString()
            << (file == unnamed ? " (by its first line)" : " (by its name)");
    }
    const ToolRun handler = runTool(env, QStringLiteral("xdg-mime"),
                                    {QStringLiteral("query"), QStringLiteral("default"),
                                     QStringLiteral("application/x-orvane-playlist")});
    EXPECT_EQ(handler.output, QStringLiteral("orvane.desktop")) << "Open With offers Orvane";
}

TEST_F(Installed, ItTakesTheScreenshotsItsAppStreamDataNames)
{
    QString error;
    const QList<Screenshot> listed = metainfoScreenshots(
        share() + QStringLiteral("/metainfo/org.orvane.Orvane.metainfo.xml"), &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_FALSE(listed.isEmpty());
    const QString folder = QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/appstream");
    ASSERT_TRUE(QDir(folder).removeRecursively() && QDir().mkpath(folder));
    const auto wanted = [&](const QString &name) {
        for (const Screenshot &shot : listed)
            if (shot.name == name)
                return shot.size;
        return QSize();
    };

    // In the folders a user keeps them in, under the names a user gives.
    QStringList media;
    for (const auto &[from, to] :
         {std::pair{fractalVideo(), QStringLiteral("Videos/into-the-fractal.avi")},
          std::pair{mp3Clip(QStringLiteral("Morning Walk"), 40),
                    QStringLiteral("Music/morning-walk.mp3")},
          std::pair{mp3Clip(QStringLiteral("Harbour Lights"), 40),
                    QStringLiteral("Music/harbour-lights.mp3")},
          std::pair{mp3Clip(QStringLiteral("Slow Rain"), 40),
                    QStringLiteral("Music/slow-rain.mp3")}}) {
        media << m_desktop.home() + u'/' + to;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(media.last()).path()) &&
                    QFile::copy(from, media.last()))
            << to.toStdString();
    }
    Player &player = startInstalled(media);
    ASSERT_TRUE(waitUntil([&] { return player.playlist().size() == 4; }, 30000))
        << player.playlist().join(u'|').toStdString();
    ASSERT_TRUE(waitForStart(player, 60)) << player.statusText().toStdString();
    ASSERT_TRUE(player.waitForNoWindow(QStringLiteral("^Adding Media")));
    const QString window = player.window();
    const QSize mainSize = wanted(QStringLiteral("main-window"));
    ASSERT_TRUE(mainSize.isValid()) << "the metainfo shows the main window";
    ASSERT_TRUE(resizeWindow(m_desktop, window, mainSize));
    player.activate();
    // A few seconds into the video, with the picture grown to the window.
    ASSERT_TRUE(waitUntil([&] { return shownPosition(player) > 6.0; }, 20000));
    ASSERT_TRUE(saveWindow(m_desktop, window, folder + QStringLiteral("/main-window.png")));
    // The picture, not a black box: the fractal has thousands of colours.
    const QImage mainShot(folder + QStringLiteral("/main-window.png"));
    QSet<QRgb> colours;
    for (int y = 0; y < mainShot.height() * 2 / 5; y += 2)
        for (int x = 0; x < mainShot.width(); x += 2)
            colours.insert(mainShot.pixel(x, y));
    EXPECT_GT(colours.size(), 1000) << "the video shows in the screenshot";

    const QSize editorSize = wanted(QStringLiteral("playlist-editor"));
    ASSERT_TRUE(editorSize.isValid()) << "the metainfo shows the playlist editor";
    bool opened = false;
    for (int attempt = 0; attempt < 5 && !opened; ++attempt) {
        player.activate();
        opened = player.keyForPopup(QStringLiteral("ctrl+Insert"), 3000);
    }
    const QString editor = player.waitForActiveWindow(QStringLiteral("^Edit Playlist"));
    ASSERT_FALSE(editor.isEmpty()) << "Ctrl+Ins opens the editor";
    ASSERT_TRUE(resizeWindow(m_desktop, editor, editorSize));
    // Every item into the new playlist, then the video chosen, so both
    // lists and the item's details are filled.
    AtSpi &atspi = player.accessibility();
    const Accessible dialog =
        atspi.findByName(atspi.application(player.pid()), QStringLiteral("Edit Playlist"));
    const Accessible all = atspi.findByName(dialog, QStringLiteral("All items"));
    const auto clickIn = [&](const Accessible &root, const QString &name) {
        const QRect box = atspi.extents(atspi.findByName(root, name));
        if (box.isEmpty())
            return false;
        player.click(centreOf(box));
        return true;
    };
    const auto title = [&] {
        for (const Accessible &child :
             atspi.children(atspi.findByName(dialog, QStringLiteral("Item details"))))
            if (atspi.role(child) == QStringLiteral("text") &&
                atspi.name(child) == QStringLiteral("Title"))
                return atspi.text(child);
        return QStringLiteral("(no title field)");
    };
    ASSERT_TRUE(clickIn(all, QStringLiteral("Into the Fractal")));
    player.key(QStringLiteral("ctrl+a"));
    ASSERT_TRUE(waitUntil([&] { return title() == QStringLiteral("<several values>"); }, 5000));
    ASSERT_TRUE(clickIn(dialog, QStringLiteral("Add >")));
    const Accessible chosen = atspi.findByName(dialog, QStringLiteral("New playlist"));
    ASSERT_TRUE(waitUntil([&] { return atspi.columnTexts(chosen).size() == 4; }, 5000));
    ASSERT_TRUE(clickIn(all, QStringLiteral("Into the Fractal")));
    ASSERT_TRUE(waitUntil([&] { return title() == QStringLiteral("Into the Fractal"); }, 5000))
        << title().toStdString();
    ASSERT_TRUE(saveWindow(m_desktop, editor, folder + QStringLiteral("/playlist-editor.png")));

    for (const Screenshot &shot : listed) {
        SCOPED_TRACE(shot.url.toStdString());
        EXPECT_TRUE(shot.url.startsWith(QStringLiteral("https://orvane.org/screenshots/")));
        EXPECT_FALSE(shot.caption.isEmpty()) << "a caption tells what the picture shows";
        const QImage image(folder + u'/' + shot.name + QStringLiteral(".png"));
        ASSERT_FALSE(image.isNull()) << "no screenshot taken for this image";
        EXPECT_EQ(image.size(), shot.size) << "the size the metainfo states";
    }
}

TEST_F(Installed, AFileOpenedFromTheFileManagerPlaysThroughTheDesktopEntry)
{
    // A name a URL has to encode: spaces, an accent, brackets.
    const QString song = m_desktop.home() + QStringLiteral("/Music/Song for Anna (été).mp3");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(song).path()) &&
                QFile::copy(mp3Clip(QStringLiteral("Song for Anna"), 30), song));
    ASSERT_TRUE(launchDesktopEntry(song)) << "gio launch";

    QString window;
    ASSERT_TRUE(waitUntil(
        [&] {
            window = m_desktop
                         .run(QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--name"), QStringLiteral("^Orvane")},
                              5000)
                         .section(u'\n', 0, 0);
            return !window.isEmpty();
        },
        20000, 100))
        << "the program's window";
    m_launched = m_desktop.run(QStringLiteral("xdotool"), {QStringLiteral("getwindowpid"), window})
                     .toLongLong();
    ASSERT_GT(m_launched, 0);
    // Read as the desktop's sound applet reads it.
    const auto playerctl = [&](const QStringList &args) {
        return m_desktop.run(QStringLiteral("playerctl"),
                             QStringList{QStringLiteral("-p"), QStringLiteral("orvane")} + args);
    };
    EXPECT_TRUE(waitUntil(
        [&] {
            return playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:title")}) ==
                   QStringLiteral("Song for Anna");
        },
        20000, 200))
        << "the file the launcher handed over is the item";
    EXPECT_TRUE(waitUntil(
        [&] { return playerctl({QStringLiteral("status")}) == QStringLiteral("Playing"); }, 20000,
        200))
        << "and it plays";

    // Launchers that hand over URLs (the desktop entry takes %U) encode the
    // name; the running program adds the file it names to its playlist.
    const QString second = m_desktop.home() + QStringLiteral("/Music/Second Song (été).mp3");
    ASSERT_TRUE(QFile::copy(mp3Clip(QStringLiteral("Second Song"), 30), second));
    const QString url = QString::fromLatin1(QUrl::fromLocalFile(second).toEncoded());
    ASSERT_TRUE(url.contains(QStringLiteral("%20")) && url.contains(QStringLiteral("%C3%A9")));
    const ToolRun handOver = runTool(launcherEnvironment(), program(), {url});
    EXPECT_EQ(handOver.exitCode, 0) << handOver.output.toStdString();
    AtSpi atspi(m_desktop.busAddress());
    const Accessible list = atspi.findByRole(atspi.application(m_launched), QStringLiteral("tree"));
    EXPECT_TRUE(waitUntil(
        [&] {
            return atspi.columnTexts(list) ==
                   QStringList{QStringLiteral("Song for Anna"), QStringLiteral("Second Song")};
        },
        20000, 200))
        << atspi.columnTexts(list).join(u'|').toStdString();
}
