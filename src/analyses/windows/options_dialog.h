// The base of the options dialogs of the analyses: they work on the program's
// state, and Esc, the close box and Cancel all mark the dialog cancelled.
#pragma once

#include <QDialog>

#include "store/state.h"
#include "store/ui.h"

class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    void reject() override {
        s.DialogCancelled = 1;
        QDialog::reject();
    }

protected:
    OptionsDialog(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
        : QDialog(parent), s(state), ui(kovaUi) {}

    core::KovaState& s;
    core::KovaUi& ui;
};
