#include "hosts/qt/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "platform/host/FileNamePatterns.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

std::string QtFileDialogs::openedPath(std::string path, std::string_view defaultExtension) {
    const QFileInfo chosen(QString::fromStdString(path));
    if (chosen.exists() || chosen.isSymLink()) return path;
    return withDefaultExtension(std::move(path), defaultExtension);
}

QStringList QtFileDialogs::nameFilters(const FileDialogRequest& request) {
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        QStringList patterns;
        for (const QString& pattern : QString::fromStdString(filter.patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
        filters << QString::fromStdString(filter.caption) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

FileDialogResult QtFileDialogs::openFile(const FileDialogRequest& request) { return run(request, false); }

FileDialogResult QtFileDialogs::saveFile(const FileDialogRequest& request) { return run(request, true); }

FileDialogResult QtFileDialogs::run(const FileDialogRequest& request, bool save) {
    auto* owner = dynamic_cast<QtWindow*>(request.owner);
    QFileDialog dialog(owner ? &owner->widget() : nullptr, QString::fromStdString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The type list shows the captions alone, as the program names them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setSizeGripEnabled(request.resizable);
    const QStringList filters = nameFilters(request);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 0 && request.filterIndex < filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex));
    }
    // An open dialog leaves a chosen name as it is, so that a file without a dot can be opened;
    // the default extension is tried below instead.
    if (save) dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.initialFolder.empty()) dialog.setDirectory(QString::fromStdString(request.initialFolder));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    dialog.setWindowModality(Qt::ApplicationModal);

    const int answer = dialog.exec();
    host_.rethrowPending();
    FileDialogResult result;
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    std::string path = QDir::cleanPath(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath()).toStdString();
    if (save) {
        path = withDefaultExtension(std::move(path), request.defaultExtension);
    } else {
        path = openedPath(std::move(path), request.defaultExtension);
    }
    result.confirmed = true;
    result.path = std::move(path);
    // Qt's dialog has no read-only box; the answer is that of a hidden box.
    result.readOnly = false;
    // The dialog may name the selected filter with or without its hidden patterns.
    const QString chosen = dialog.selectedNameFilter();
    result.filterIndex = request.filterIndex;
    for (int i = 0; i < filters.size(); ++i) {
        if (filters.at(i) == chosen || QString::fromStdString(request.filters[static_cast<std::size_t>(i)].caption) == chosen)
            result.filterIndex = i;
    }
    return result;
}

std::string QtFileDialogs::documentsFolder() const {
    // The desktop's documents folder (XDG_DOCUMENTS_DIR), when the user has one on disk.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return QDir(documents).absolutePath().toStdString();
    return QDir::homePath().toStdString();
}

}  // namespace zozuz
