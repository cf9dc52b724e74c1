// The common dialog control over Qt's file dialog: the filter text, the
// flags, the FileName of a choice and of a cancel.
#include "ui/toolkit/commondialog.h"

#include "tests/support/modalpoll.h"
#include "tests/support/showntext.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << QString(text).replace(QChar(0), u'^').toStdString() << '"';
}

namespace orvane::test {
namespace {

using ui::CommonDialog;

constexpr QChar kNul = QChar(0);

// The modal polls of each test live on a context object it replaces, so
// a poll left over from a failed test never acts in the next one.
QObject *g_pollContext = nullptr;

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class CommonDialogTest : public ::testing::Test
{
protected:
    CommonDialogTest() { g_pollContext = new QObject; }
    ~CommonDialogTest() override
    {
        ui::testhooks::setFileDialogRunner({});
        delete g_pollContext;
        g_pollContext = nullptr;
    }

    // Captures the prepared dialog, then answers as a user would.
    void answer(std::function<int(QFileDialog &)> user)
    {
        ui::testhooks::setFileDialogRunner([this, user = std::move(user)](QFileDialog &dialog) {
            ++runs;
            fileMode = dialog.fileMode();
            acceptMode = dialog.acceptMode();
            confirmsOverwrite = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
            native = !dialog.testOption(QFileDialog::DontUseNativeDialog);
            nameFilters = dialog.nameFilters();
            selectedFilter = dialog.selectedNameFilter();
            title = dialog.windowTitle();
            directory = dialog.directory().absolutePath();
            return user(dialog);
        });
    }

    static int cancel(QFileDialog &dialog)
    {
        dialog.reject();
        return dialog.result();
    }

    QTemporaryDir temp;
    int runs = 0;
    QFileDialog::FileMode fileMode = QFileDialog::Directory;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    bool confirmsOverwrite = false;
    bool native = true;
    QStringList nameFilters;
    QString selectedFilter;
    QString title;
    QString directory;
};

QStringList texts(const std::vector<const char *> &list)
{
    QStringList result;
    for (const char *text : list)
        result.append(QString::fromUtf8(text));
    return result;
}

QString nulJoined(const std::vector<const char *> &list)
{
    return texts(list).join(kNul);
}

TEST(NameFilters, PairsBecomeQtFilters)
{
    const struct {
        const char *filter;
        std::vector<const char *> expected;
    } cases[] = {
        {"Orvane Play List|*.ovl", {"Orvane Play List (*.ovl)"}},
        {"Media|*.avi;*.asf|Real|*.rm", {"Media (*.avi *.asf)", "Real (*.rm)"}},
        {"All Files (*.*)|*.*", {"All Files (*.*) (*)"}},
        {"", {}},
        {"|", {"* (*)"}},
        {"Lonely description", {}},
        {"A|*.a|B", {"A (*.a)"}},
        {"|*.x", {"*.x (*.x)"}},
        {"Spaces| *.a ; ;*.b;*.a", {"Spaces (*.a *.b)"}},
        // Patterns Qt cannot carry are left out rather than breaking the pair.
        {"Odd|my file.txt;*.(x);*.\xc3\xa9t\xc3\xa9;*.ok", {"Odd (*.ok)"}},
        {"None|;;;", {"None (*)"}},
        {"Two\nlines\x01|*.a", {"Two lines (*.a)"}},
        {"||||", {"* (*)", "* (*)"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::nameFiltersFromFilter(QString::fromUtf8(c.filter)), texts(c.expected))
            << c.filter;
}

TEST(FileNameOfChoice, OneFolderGivesFolderAndNames)
{
    const struct {
        std::vector<const char *> paths;
        std::vector<const char *> fileName;
    } cases[] = {
        {{}, {}},
        {{"/m/a.mp3"}, {"/m/a.mp3"}},
        {{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}, {"/m", "a.mp3", "b.mp3", "c.mp3"}},
        {{"/a.mp3", "/b.mp3"}, {"/", "a.mp3", "b.mp3"}},
        // Different folders cannot share one: every path stays whole.
        {{"/x/a.mp3", "/y/b.mp3"}, {"/x/a.mp3", "/y/b.mp3"}},
        {{"/m/a,b.mp3", "/m/c d.mp3"}, {"/m", "a,b.mp3", "c d.mp3"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::fileNameOfChoice(texts(c.paths)), nulJoined(c.fileName))
            << texts(c.paths).join(u' ').toStdString();
}

TEST_F(CommonDialogTest, FlagsChooseTheDialogsMode)
{
    const struct {
        bool save;
        qint32 flags;
        QFileDialog::FileMode mode;
        bool confirm;
    } cases[] = {
        {false, 0x81A04, QFileDialog::ExistingFiles, false},
        {false, 0x81804, QFileDialog::ExistingFile, false},
        {false, 0x80000, QFileDialog::AnyFile, false},
        {true, 0x80006, QFileDialog::AnyFile, true},
        {true, 0x80004, QFileDialog::AnyFile, false},
    };
    for (const auto &c : cases) {
        answer(cancel);
        CommonDialog comDialog;
        comDialog.Flags = c.flags;
        if (c.save)
            comDialog.ShowSave();
        else
            comDialog.ShowOpen();
        EXPECT_EQ(fileMode, c.mode) << std::hex << c.flags;
        EXPECT_EQ(acceptMode, c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        EXPECT_EQ(confirmsOverwrite, c.confirm) << std::hex << c.flags;
        EXPECT_FALSE(native);
    }
}

TEST_F(CommonDialogTest, FilterIndexOutOfRangeShowsTheFirstPair)
{
    const struct {
        qint32 index;
        const char *shown;
    } cases[] = {{2, "B (*.b)"}, {0, "A (*.a)"}, {3, "A (*.a)"}, {-1, "A (*.a)"}};
    for (const auto &c : cases) {
        answer(cancel);
        CommonDialog comDialog;
        comDialog.Filter = QStringLiteral("A|*.a|B|*.b");
        comDialog.FilterIndex = c.index;
        comDialog.ShowOpen();
        EXPECT_EQ(selectedFilter, QString::fromLatin1(c.shown)) << c.index;
    }
}

TEST_F(CommonDialogTest, ChoiceComesBackInFileNameAndFilterIndex)
{
    touch(temp.filePath(QStringLiteral("x.b")));
    answer([&](QFileDialog &dialog) {
        dialog.selectNameFilter(QStringLiteral("B (*.b)"));
        dialog.selectFile(temp.filePath(QStringLiteral("x.b")));
        static_cast<QDialog &>(dialog).accept();
        return dialog.result();
    });
    CommonDialog comDialog;
    comDialog.DialogTitle = QStringLiteral("Pick one");
    comDialog.Filter = QStringLiteral("A|*.a|B|*.b");
    comDialog.Flags = 0x81804;
    comDialog.InitDir = temp.path();
    EXPECT_EQ(comDialog.ShowOpen(), CommonDialog::Result::Ok);
    EXPECT_EQ(comDialog.FileName, temp.filePath(QStringLiteral("x.b")));
    EXPECT_EQ(comDialog.FilterIndex, 2);
    EXPECT_EQ(title, QStringLiteral("Pick one"));
    EXPECT_EQ(directory, QDir(temp.path()).absolutePath());
}

TEST_F(CommonDialogTest, CancelEmptiesFileNameAndIsReportedOnlyWithCancelError)
{
    for (const bool cancelError : {false, true}) {
        answer(cancel);
        CommonDialog comDialog;
        comDialog.FileName = QStringLiteral("/old/choice.ovl");
        comDialog.FilterIndex = 2;
        comDialog.CancelError = cancelError;
        EXPECT_EQ(comDialog.ShowSave(),
                  cancelError ? CommonDialog::Result::Cancel : CommonDialog::Result::Ok);
        EXPECT_EQ(comDialog.FileName, QString());
        EXPECT_EQ(comDialog.FilterIndex, 2);
    }
}

TEST_F(CommonDialogTest, PreviousMultipleChoiceStartsInItsFolder)
{
    answer(cancel);
    CommonDialog comDialog;
    comDialog.FileName = temp.path() + kNul + nulJoined({"a.mp3", "b.mp3"});
    comDialog.InitDir = QDir::rootPath();
    comDialog.ShowOpen();
    EXPECT_EQ(directory, QDir(temp.path()).absolutePath());
}

TEST_F(CommonDialogTest, MissingFolderIsRefusedWhenThePathMustExist)
{
    const QString missing = temp.filePath(QStringLiteral("gone/new.ovl"));
    bool warned = false;
    answer([&](QFileDialog &dialog) {
        dialog.selectFile(missing);
        whenShown<QMessageBox>(g_pollContext, [&](QMessageBox *box) {
            warned = true;
            box->accept();
        });
        static_cast<QDialog &>(dialog).accept();
        if (dialog.result() == QDialog::Accepted)
            return int(QDialog::Accepted);
        dialog.reject();
        return dialog.result();
    });
    CommonDialog comDialog;
    comDialog.Flags = 0x80800;
    comDialog.ShowSave();
    EXPECT_TRUE(warned);
    EXPECT_EQ(comDialog.FileName, QString());

    // Without the flag the same name is taken: saving may create it.
    answer([&](QFileDialog &dialog) {
        dialog.selectFile(missing);
        static_cast<QDialog &>(dialog).accept();
        return dialog.result();
    });
    comDialog.Flags = 0;
    comDialog.ShowSave();
    EXPECT_EQ(comDialog.FileName, missing);

    // The warning shows the folder's name as written, not as markup.
    const QString marked = temp.filePath(QStringLiteral("<b>gone</b>"));
    QString shown;
    answer([&](QFileDialog &dialog) {
        dialog.selectFile(marked + QStringLiteral("/new.ovl"));
        whenShown<QMessageBox>(g_pollContext, [&](QMessageBox *box) {
            if (const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
                shown = test::shownText(*label);
            box->accept();
        });
        static_cast<QDialog &>(dialog).accept();
        dialog.reject();
        return dialog.result();
    });
    comDialog.Flags = 0x80800;
    comDialog.ShowSave();
    EXPECT_TRUE(shown.startsWith(marked + QLatin1Char('\n'))) << shown.toStdString();
}

} // namespace
} // namespace orvane::test
