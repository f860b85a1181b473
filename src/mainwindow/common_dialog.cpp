#include "mainwindow/common_dialog.h"

#include <QFileDialog>

#include "mainwindow/text_codec.h"

CommonDialog::Answerer& CommonDialog::TestAnswer() {
    static Answerer answer;
    return answer;
}

QStringList CommonDialog::QtFilters(const std::string& filter) {
    QStringList parts = ToQString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            // "*.*" means every file, also one without an extension.
            if (p == "*.*")
                p = "*";
        }
        filters << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::optional<std::string> CommonDialog::ShowOpen(const core::FileDialogRequest& request) {
    return Show(request, false);
}

std::optional<std::string> CommonDialog::ShowSave(const core::FileDialogRequest& request) {
    return Show(request, true);
}

void CommonDialog::Configure(QFileDialog& dialog, const core::FileDialogRequest& request,
                             bool save) {
    if (!request.title.empty())
        title_ = ToQString(request.title);
    dialog.setWindowTitle(title_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    QStringList filters = QtFilters(request.filter);
    dialog.setNameFilters(filters);
    // The second pair is the file kind of the command.
    if (filters.size() >= 2)
        dialog.selectNameFilter(filters[1]);
    if (!request.fileName.empty())
        dialog.selectFile(ToQString(request.fileName));
}

std::optional<std::string> CommonDialog::Show(const core::FileDialogRequest& request, bool save) {
    if (TestAnswer()) {
        if (!request.title.empty())
            title_ = ToQString(request.title);
        return TestAnswer()(request, save);
    }
    QFileDialog dialog(parent_);
    Configure(dialog, request, save);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    return FromQString(files.first());
}
