#include "ui/toolkit/commondialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace orvane::ui {

namespace {

testhooks::FileDialogRunner &fileDialogRunner()
{
    static testhooks::FileDialogRunner runner;
    return runner;
}

// The characters Qt keeps in the bracketed pattern part of a name filter;
// a pattern with any other one would make Qt read the whole filter as
// patterns.
bool isCarriablePattern(const QString &pattern)
{
    static const QString kOthers = QStringLiteral("_.,*?+#-[]@{}/!<>$%&=^~:");
    for (const QChar c : pattern) {
        const char16_t u = c.unicode();
        const bool alnum =
            (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
        if (!alnum && !kOthers.contains(c))
            return false;
    }
    return !pattern.isEmpty();
}

QString descriptionOf(QString text)
{
    // Qt matches a filter on one line; a line break would undo the pairing.
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text.trimmed();
}

// Refuses a choice whose folder is missing when the caller asked for an
// existing path; Qt's own dialog only checks that much for existing files.
class CommonFileDialog final : public QFileDialog
{
public:
    CommonFileDialog(QWidget *parent, bool pathMustExist)
        : QFileDialog(parent)
        , m_pathMustExist(pathMustExist)
    {}

    void accept() override
    {
        if (m_pathMustExist) {
            for (const QString &file : selectedFiles()) {
                const QString folder = QFileInfo(file).absolutePath();
                if (QFileInfo(folder).isDir())
                    continue;
                warnMissing(folder);
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    void warnMissing(const QString &folder)
    {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QCoreApplication::translate("QFileDialog",
                                                    "%1\nDirectory not found.\nPlease verify the "
                                                    "correct directory name was given.")
                            .arg(QDir::toNativeSeparators(folder)),
                        QMessageBox::Ok, this);
        // A folder name is the user's, markup and all.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    bool m_pathMustExist;
};

} // namespace

namespace testhooks {
void setFileDialogRunner(FileDialogRunner runner)
{
    fileDialogRunner() = std::move(runner);
}
} // namespace testhooks

QStringList nameFiltersFromFilter(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &raw : parts[i + 1].split(u';')) {
            QString pattern = raw.trimmed();
            // Windows matched "*.*" against names without a dot too.
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
            if (isCarriablePattern(pattern) && !patterns.contains(pattern))
                patterns.append(pattern);
        }
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*"));
        const QString joined = patterns.join(u' ');
        QString description = descriptionOf(parts[i]);
        if (description.isEmpty())
            description = joined;
        filters.append(description + QStringLiteral(" (") + joined + u')');
    }
    return filters;
}

bool nameFilterHasExtension(const QString &nameFilter, const QString &extension)
{
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    if (open < 0 || !nameFilter.endsWith(u')') || extension.isEmpty())
        return false;
    const QString patterns = nameFilter.mid(open + 1, nameFilter.size() - open - 2);
    const QString wanted = QStringLiteral("*.") + extension;
    for (const QStringView pattern : QStringView(patterns).tokenize(u' ')) {
        if (pattern.compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString fileNameOfChoice(const QStringList &paths)
{
    if (paths.size() <= 1)
        return paths.value(0);
    const QString folder = QFileInfo(paths.first()).absolutePath();
    QStringList names;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.absolutePath() != folder)
            return paths.join(QChar(0));
        names.append(info.fileName());
    }
    return folder + QChar(0) + names.join(QChar(0));
}

CommonDialog::CommonDialog(QWidget *owner)
    : m_owner(owner)
{}

CommonDialog::Result CommonDialog::ShowOpen(QWidget *over)
{
    return show(Kind::Open, over);
}

CommonDialog::Result CommonDialog::ShowSave(QWidget *over)
{
    return show(Kind::Save, over);
}

CommonDialog::Result CommonDialog::ShowFolder(QWidget *over)
{
    return show(Kind::Folder, over);
}

CommonDialog::Result CommonDialog::show(Kind kind, QWidget *over)
{
    const bool save = kind == Kind::Save;
    CommonFileDialog dialog(over ? over : m_owner, (Flags & cdl::kPathMustExist) != 0);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (kind == Kind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else if (Flags & cdl::kAllowMultiselect)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else if (Flags & cdl::kFileMustExist)
        dialog.setFileMode(QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & cdl::kOverwritePrompt));
    if (!DialogTitle.isEmpty())
        dialog.setWindowTitle(DialogTitle);

    const QStringList filters =
        kind == Kind::Folder ? QStringList() : nameFiltersFromFilter(Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qint32 index = FilterIndex >= 1 && FilterIndex <= filters.size() ? FilterIndex : 1;
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (save && !DefaultExt.isEmpty()) {
        // A name saved under the playlist filter without its extension is
        // a file that opening then refuses; under "All files" the user
        // means the name as typed.
        const auto suffixFor = [&dialog, ext = DefaultExt](const QString &filter) {
            dialog.setDefaultSuffix(nameFilterHasExtension(filter, ext) ? ext : QString());
        };
        suffixFor(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, suffixFor);
    }
    if (!InitDir.isEmpty() && QFileInfo(InitDir).isDir())
        dialog.setDirectory(InitDir);
    // A previous multiple choice is no name to start with; its folder is.
    const QString start = FileName.section(QChar(0), 0, 0);
    if (FileName.contains(QChar(0)) && QFileInfo(start).isDir())
        dialog.setDirectory(start);
    else if (!start.isEmpty())
        dialog.selectFile(start);

    const int answer = fileDialogRunner() ? fileDialogRunner()(dialog) : dialog.exec();
    const QStringList chosen = answer == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    if (chosen.isEmpty()) {
        FileName.clear();
        return CancelError ? Result::Cancel : Result::Ok;
    }
    FileName = fileNameOfChoice(chosen);
    if (const qsizetype chosenFilter = filters.indexOf(dialog.selectedNameFilter());
        chosenFilter >= 0)
        FilterIndex = qint32(chosenFilter + 1);
    return Result::Ok;
}

} // namespace orvane::ui
