#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

namespace orvane::ui {

// Bits of CommonDialog::Flags, with the numbers file dialogs have always
// used, so callers can keep writing the sums they know (0x81A04 ...).
namespace cdl {
inline constexpr qint32 kOverwritePrompt = 0x2;
inline constexpr qint32 kHideReadOnly = 0x4; // there is never a read-only box
inline constexpr qint32 kAllowMultiselect = 0x200;
inline constexpr qint32 kPathMustExist = 0x800;
inline constexpr qint32 kFileMustExist = 0x1000;
inline constexpr qint32 kExplorer = 0x80000; // there is only one style
} // namespace cdl

// The main window's comDialog: callers set the properties, call a show
// method and read FileName back. The dialog behind it is Qt's own (not the
// desktop's), so it looks and acts the same everywhere and tests can drive
// it.
class CommonDialog
{
public:
    // What a show method reports. Cancel only when CancelError is set;
    // otherwise a cancel is seen as an empty FileName, as callers expect.
    enum class Result { Ok, Cancel };

    // owner: the window the file dialogs belong to unless a show call
    // names another.
    explicit CommonDialog(QWidget *owner = nullptr);

    bool CancelError = false;
    QString DialogTitle; // empty: the dialog's own "Open" / "Save As"
    // In: the name (or path) to start with. Out: the chosen path; with
    // several files the folder and the names joined by NUL characters;
    // empty after a cancel.
    QString FileName;
    // Description and pattern pairs, "Text|*.a;*.b|All|*.*".
    QString Filter;
    qint32 FilterIndex = 1; // 1-based pair shown first; set to the pair chosen
    qint32 Flags = 0;
    QString InitDir; // used when it is an existing folder
    // Saving: the extension (without its dot) a typed name without one
    // gets, while the filter chosen lists "*." followed by it; the dialog
    // asks about overwriting under the name it adds it to.
    QString DefaultExt;

    Result ShowOpen(QWidget *over = nullptr);
    Result ShowSave(QWidget *over = nullptr);
    // One existing folder; FileName gets its path. Filter, FilterIndex and
    // the file flags do not apply.
    Result ShowFolder(QWidget *over = nullptr);

private:
    enum class Kind { Open, Save, Folder };
    Result show(Kind kind, QWidget *over);

    QWidget *m_owner = nullptr;
};

// The pairs of a Filter text as Qt name filters ("Text (*.a *.b)"). A
// description without a pattern is dropped, "*.*" means every file, and
// patterns Qt cannot carry (blanks, brackets of the description form,
// characters outside its set) are left out; a pair left with no pattern
// shows every file.
QStringList nameFiltersFromFilter(const QString &filter);

// Whether a Qt name filter ("Text (*.a *.b)") lists "*." followed by the
// extension, letter case ignored.
bool nameFilterHasExtension(const QString &nameFilter, const QString &extension);

// The FileName text of a choice: one path as it is; several in one folder
// as that folder and the names, NUL-separated; several in different
// folders as their full paths, NUL-separated (a list reader takes a first
// element followed only by absolute ones as a location of its own).
QString fileNameOfChoice(const QStringList &paths);

namespace testhooks {
// Replaces the modal run of the prepared file dialog: gets the dialog with
// every property applied, returns what exec() would (QDialog::Accepted
// after selecting files and calling accept()). Empty: run it for real.
using FileDialogRunner = std::function<int(QFileDialog &dialog)>;
void setFileDialogRunner(FileDialogRunner runner);
} // namespace testhooks

} // namespace orvane::ui
