// The file dialog of every window: titled by each use, turns the program's
// filter strings into Qt's, reports a cancel and the file type chosen.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "store/file_dialog.h"

class QFileDialog;
class QWidget;

class CommonDialog : public core::FileChooser {
public:
    explicit CommonDialog(QWidget* parent) : parent_(parent) {}

    // An open dialog accepts a name that does not exist yet (a new set).
    std::optional<std::string> ShowOpen(const core::FileDialogRequest& request) override;
    // A save dialog asks no overwrite question: the commands ask their own,
    // which knows the file a set, table or output was read from.
    std::optional<std::string> ShowSave(const core::FileDialogRequest& request) override;
    int ChosenFilter() const override { return chosenFilter_; }

    // "All Files (*.*)|*.*|Kov Files (*.kov)|*.kov" -> one Qt name filter per
    // pair, "description (patterns)".
    static QStringList QtFilters(const std::string& filter);

    // Sets up a Qt file dialog for one use: its own title, filters with the
    // second selected, the file name, open (any name) or save (no overwrite
    // question of its own).
    void Configure(QFileDialog& dialog, const core::FileDialogRequest& request, bool save);

    // The title of the last dialog shown.
    const QString& Title() const { return title_; }

    // Tests answer the dialog through this instead of a real one: the request,
    // whether it is a save, and the answer (nullopt for Cancel).
    using Answerer =
        std::function<std::optional<std::string>(const core::FileDialogRequest&, bool)>;
    static Answerer& TestAnswer();
    // The same, answering with the name as the real dialog gives it, so that
    // it passes the same conversion.
    using QtAnswerer = std::function<std::optional<QString>(const core::FileDialogRequest&, bool)>;
    static QtAnswerer& TestQtAnswer();
    // The filter pair the tests' answers count as chosen.
    static int& TestChosenFilter();

    // A file name from the system (dialog, command line) in the program's
    // form. A name with a character the program's code page cannot hold is
    // refused with a message box: nullopt.
    static std::optional<std::string> ProgramFileName(QWidget* parent, const QString& name);

private:
    std::optional<std::string> Show(const core::FileDialogRequest& request, bool save);

    QWidget* parent_;
    QString title_;
    int chosenFilter_ = 1;
};
