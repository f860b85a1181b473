// Sequential > a variable on the sample protocol, as a user runs it: the
// options dialog, the blocks appended to the ".ana" file, the transition
// diagram shown modally and saved as a picture, the "Diagr" button.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "analyses/analysis_fixture.h"
#include "analyses/windows/diagram.h"
#include "analyses/windows/lagask.h"
#include "analyses/windows/uitvoer.h"
#include "support/main_window_fixture.h"
#include "widgets/text_codec.h"

namespace {

using test::Count;
using test::ReadBytes;
using test::WhenModalOf;

struct SequentialMenuGui : test::SampleProtocolTest {
    void TearDown() override {
        ui.Diagram().hide();
        SampleProtocolTest::TearDown();
    }
    void Choose(int index, std::function<void(lagask*)> answer) {
        WhenModalOf<lagask>([this, answer](lagask* dialog) {
            dialogTitle = dialog->windowTitle();
            answer(dialog);
        });
        w->mnuSequentialItem.at(index)->trigger();
    }

    QString dialogTitle;
};

TEST_F(SequentialMenuGui, V4AtLagTwoWithEveryTableAndTheDiagramSavedAsPng) {
    const std::string png = dir.File("transitions.png");
    int diagrams = 0;
    size_t nodes = 0;
    Choose(4, [&](lagask* d) {
        EXPECT_EQ(d->Combo1->count(), 10);
        EXPECT_EQ(s.Lag, 1);
        d->Combo1->setCurrentIndex(1);
        EXPECT_EQ(s.Lag, 2);
        for (int i = 0; i < 9; ++i)  // all but the bi-directional diagram
            d->Check2[static_cast<size_t>(i)]->click();
        WhenModalOf<diagram>([&](diagram* picture) {
            ++diagrams;
            nodes = picture->Picture1->Diagram().nodes.size();
            CommonDialog::TestAnswer() = [&](const core::FileDialogRequest&, bool) {
                return std::optional<std::string>(png);
            };
            picture->CSave->click();
            picture->COkee->click();
        });
        d->cmdOK->click();
    });
    EXPECT_EQ(dialogTitle, "KOVA Sequential Options");
    EXPECT_EQ(diagrams, 1);

    const std::string text = ReadBytes(anaFile);
    EXPECT_EQ(text.rfind(anaFile + "\r\n\r\n\r\n\r\nSEQUENTIAL ANALYSIS: V4 (no.  1 - ", 0), 0u)
        << text.substr(0, 200);
    for (const char* title :
         {"Frequency Transition Table", "Expected Transition Table: V4", "Adjusted Residuals Table",
          "Probability Transition Table", "Uni-directional Z-scores Table",
          "Uni-directional Transformed Kappa Table", "Bi-directional Z-scores Table",
          "Bi-directional Transformed Kappa Table"})
        EXPECT_EQ(Count(text, title), 1u) << title;
    EXPECT_EQ(Count(text, "Row at Lag:-2 "), 5u);
    // Six speech acts: Q A E I F R.
    EXPECT_EQ(nodes, 6u);

    QImage saved(QString::fromStdString(png));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(core::kDiagramWidth, core::kDiagramHeight));
    EXPECT_EQ(ui.Viewer().Tekst->toPlainText(), ToEditorText(text));

    // "Diagr" shows the last picture beside the main window.
    w->diag->click();
    EXPECT_TRUE(ui.Diagram().isVisible());
    EXPECT_FALSE(ui.Diagram().isModal());
    EXPECT_EQ(ui.Diagram().Picture1->Diagram().nodes.size(), 6u);
    ui.Diagram().COkee->click();
    EXPECT_FALSE(ui.Diagram().isVisible());
}

TEST_F(SequentialMenuGui, DiagrBeforeAnyAnalysisShowsAnEmptyPicture) {
    w->diag->click();
    EXPECT_TRUE(ui.Diagram().isVisible());
    EXPECT_TRUE(ui.Diagram().Picture1->Diagram().nodes.empty());
    // Through the Save button: ".png" and ".bmp" (any case) keep their
    // format; any other name takes the extension of the type chosen, so
    // that naming the open protocol never writes a picture over it.
    const std::string protocol = ReadBytes(s.DataFileName1);
    const struct {
        std::string name;
        int type;  // the filter pair chosen in the dialog
        std::string written;
        const char* magic;
    } cases[] = {
        {dir.File("empty.BMP"), 1, dir.File("empty.BMP"), "BM"},
        {dir.File("chosen"), 2, dir.File("chosen.bmp"), "BM"},
        {dir.File("x.jpg"), 1, dir.File("x.jpg.png"), "\x89PNG"},
        {s.DataFileName1, 1, s.DataFileName1 + ".png", "\x89PNG"},
    };
    for (const auto& c : cases) {
        CommonDialog::TestAnswer() = [&](const core::FileDialogRequest&, bool) {
            return std::optional<std::string>(c.name);
        };
        CommonDialog::TestChosenFilter() = c.type;
        ui.Diagram().CSave->click();
        EXPECT_EQ(ReadBytes(c.written).substr(0, std::string(c.magic).size()), c.magic) << c.name;
    }
    CommonDialog::TestChosenFilter() = 1;
    EXPECT_EQ(ReadBytes(s.DataFileName1), protocol);
    // A folder that does not exist: a message, no file.
    QString shown;
    WhenModalOf<QMessageBox>([&](QMessageBox* box) {
        shown = box->windowTitle();
        box->accept();
    });
    EXPECT_FALSE(ui.Diagram().SavePicture({dir.File("none/x.png"), false}));
    EXPECT_EQ(shown, "Error");
}

// In the real file dialog: the Bitmap type picked from its list and a name
// without an extension give a BMP under that name and ".bmp".
TEST_F(SequentialMenuGui, TheTypeChosenInTheDialogDecidesThePictureFormat) {
    w->diag->click();
    WhenModalOf<QFileDialog>([this](QFileDialog* d) {
        auto* type = d->findChild<QComboBox*>("fileTypeCombo");
        auto* name = d->findChild<QLineEdit*>("fileNameEdit");
        if (type != nullptr && name != nullptr) {
            QTest::keyClick(type, Qt::Key_Down);  // from PNG to Bitmap
            EXPECT_EQ(type->currentText(), "Bitmap Files (*.bmp)");
            name->setText(QString::fromStdString(dir.File("y2")));
            QTest::keyClick(name, Qt::Key_Return);
        }
        if (d->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open";
            d->reject();
        }
    });
    ui.Diagram().CSave->click();
    EXPECT_EQ(ReadBytes(dir.File("y2.bmp")).substr(0, 2), "BM");
    EXPECT_FALSE(std::filesystem::exists(dir.File("y2.png")));
}

TEST_F(SequentialMenuGui, CancelWritesNothingAndAllRunsSixVariables) {
    Choose(4, [](lagask* d) { d->cmdCancel->click(); });
    EXPECT_FALSE(std::filesystem::exists(anaFile));
    EXPECT_FALSE(ui.Viewer().isVisible());

    Choose(9, [](lagask* d) {
        d->Check2[1]->click();        // the frequency table only
        d->Check1->setChecked(true);  // episode filling, ticked without a click
        d->cmdOK->click();
    });
    const std::string text = ReadBytes(anaFile);
    EXPECT_NE(text.find("SEQUENTIAL ANALYSIS: V7 (EPISODE FILLED)"), std::string::npos);
    EXPECT_EQ(Count(text, "Frequency Transition Table"), 6u);
    EXPECT_EQ(Count(text, "Expected Transition Table"), 0u);
    EXPECT_TRUE(ui.Viewer().isVisible());

    // Cancel after that run: the dialog shows the run's switches, and a
    // change made before Cancel neither runs nor stays.
    Choose(4, [](lagask* d) {
        EXPECT_TRUE(d->Check2[1]->isChecked());
        d->Check2[2]->click();
        d->cmdCancel->click();
    });
    EXPECT_EQ(ReadBytes(anaFile), text);
    EXPECT_EQ(s.ShowFrequencyTable, 1);
    EXPECT_EQ(s.ShowExpectedTable, 0);
}

TEST_F(SequentialMenuGui, OkSaysWhatToTickAndStaysOpen) {
    QStringList messages;
    bool openAfterOk = true;
    auto okExpectingAMessage = [&](lagask* d) {
        WhenModalOf<QMessageBox>([&](QMessageBox* box) {
            messages << box->text();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        openAfterOk = openAfterOk && d->isVisible();
    };
    Choose(4, [&](lagask* d) {
        okExpectingAMessage(d);                           // first use: nothing ticked
        QTest::mouseClick(d->Check2[9], Qt::LeftButton);  // the bi-directional diagram alone
        okExpectingAMessage(d);
        QTest::mouseClick(d->Check2[7], Qt::LeftButton);  // now with its z-scores
        WhenModalOf<diagram>([](diagram* picture) { picture->COkee->click(); });
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains("tick at least one of the tables"))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[1].contains("\"Bi-directional z-scores\"")) << messages[1].toStdString();
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(Count(ReadBytes(anaFile), "Bi-directional Z-scores Table"), 1u);
}

// All with the diagram: each of the six names its variable and lag in its
// caption; when the last is closed by a click, the output viewer is the
// active window, not the main window behind it.
TEST_F(SequentialMenuGui, AllNamesEachDiagramAndLeavesTheViewerInFront) {
    w->show();
    ASSERT_TRUE(test::Activate(w.get()));
    QStringList captions;
    std::function<void(diagram*)> closeByClick = [&](diagram* picture) {
        captions << picture->windowTitle();
        if (captions.size() < 6)
            WhenModalOf<diagram>(closeByClick);
        QTest::mouseClick(picture->COkee, Qt::LeftButton);
    };
    Choose(9, [&](lagask* d) {
        QTest::mouseClick(d->Check2[5], Qt::LeftButton);  // uni-directional z-scores
        QTest::mouseClick(d->Check2[0], Qt::LeftButton);  // and their diagram
        WhenModalOf<diagram>(closeByClick);
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    ASSERT_EQ(captions.size(), 6);
    for (int v = 2; v <= 7; ++v)
        EXPECT_EQ(captions[v - 2],
                  QString("KOVA Transition Diagram: V%1, lag 1, uni-directional").arg(v));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&ui.Viewer()));
    EXPECT_FALSE(w->isActiveWindow());
}

TEST_F(SequentialMenuGui, TheMenuShowsTheCurrentLabelsAndItemOneDoesNothing) {
    w->Varnaam[4]->setText("Speech act");
    emit w->Varnaam[4]->textEdited("Speech act");
    emit w->mnuSequential->aboutToShow();
    EXPECT_EQ(w->mnuSequentialItem.at(4)->text(), "Speech act");
    EXPECT_EQ(w->mnuSequentialItem.at(9)->text(), "All");
    w->mnuSequentialItem.at(1)->trigger();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(anaFile));
}

// A label wider than the layout gives any label is drawn cut beside its
// node, not across the picture: the picture's outer columns stay white.
TEST(DiagramPicture, AWideLabelIsDrawnCut) {
    test::App();
    DiagramPicture picture(nullptr);
    picture.SetDiagram(core::DescribeTransitionDiagram("V4", {std::string(200, 'W')},
                                                       core::SingleMatrix(1, 1), false, 1));
    const QImage image = picture.Render();
    int dark = 0;
    for (int y = core::kDiagramTitleHeight; y < image.height(); ++y)
        for (int x : {0, 40, image.width() - 41, image.width() - 1})
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_EQ(dark, 0);
}

}  // namespace
