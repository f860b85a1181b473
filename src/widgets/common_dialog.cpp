#include "widgets/common_dialog.h"

#include <QFileDialog>
#include <QMessageBox>

#include "store/file_access.h"
#include "widgets/message_box.h"
#include "widgets/text_codec.h"

namespace {

// The pair whose filter the dialog reports chosen. With the details hidden
// Qt reports it as its list shows it: the description without the patterns
// added to it, which alone would be found nowhere (and taken for the first
// pair).
int ChosenPair(const QStringList& filters, const QString& chosen) {
    for (int i = 0; i < filters.size(); ++i) {
        if (filters[i] == chosen || filters[i].startsWith(chosen + " ("))
            return i;
    }
    return 0;
}

}  // namespace

CommonDialog::Answerer& CommonDialog::TestAnswer() {
    static Answerer answer;
    return answer;
}

CommonDialog::QtAnswerer& CommonDialog::TestQtAnswer() {
    static QtAnswerer answer;
    return answer;
}

int& CommonDialog::TestChosenFilter() {
    static int chosen = 1;
    return chosen;
}

std::optional<std::string> CommonDialog::ProgramFileName(QWidget* parent, const QString& name) {
    std::string bytes = FromQString(name);
    // Each character the code page lacks became '?': the name would then
    // stand for another file.
    if (ToQString(bytes) == name)
        return bytes;
    QMessageBox box(QMessageBox::Warning, "KOVA", QString(), QMessageBox::Ok, parent);
    SetMessageText(box, "The file name\n" + name +
                            "\nholds a character that KOVA cannot use in a file name.\n"
                            "Please choose another name.");
    box.exec();
    return std::nullopt;
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
        title_ = ToQString(request.title);
        chosenFilter_ = TestChosenFilter();
        return TestAnswer()(request, save);
    }
    QString chosen;
    if (TestQtAnswer()) {
        title_ = ToQString(request.title);
        chosenFilter_ = TestChosenFilter();
        std::optional<QString> answer = TestQtAnswer()(request, save);
        if (!answer)
            return std::nullopt;
        chosen = *answer;
    } else {
        QFileDialog dialog(parent_);
        Configure(dialog, request, save);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        chosenFilter_ = ChosenPair(dialog.nameFilters(), dialog.selectedNameFilter());
        QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return std::nullopt;
        chosen = files.first();
    }
    if (chosen.isEmpty())
        return std::nullopt;
    // A refused name ends the command with nothing changed (an empty name).
    // Kept absolute, so that the name means the same file whatever the
    // working folder.
    return core::AbsoluteFileName(ProgramFileName(parent_, chosen).value_or(std::string()));
}
