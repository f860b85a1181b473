// Frequency > V4 on the sample protocol, as a user runs it: the options
// dialog, the block appended to the ".ana" file, the output viewer.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "analyses/windows/epiask.h"
#include "analyses/windows/uitvoer.h"
#include "support/main_window_fixture.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

using test::ReadBytes;

struct FrequencyMenuGui : test::SampleProtocolTest {
    // Chooses the item with the options dialog answered by `answer`.
    void Choose(int index, std::function<void(epiask*)> answer) {
        test::WhenModal([this, answer](QWidget* modal) {
            auto* dialog = qobject_cast<epiask*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialogTitle = dialog->windowTitle();
            from = dialog->Text1->text();
            to = dialog->Text2->text();
            answer(dialog);
        });
        w->mnuAnalyseItem.at(index)->trigger();
    }

    QString dialogTitle, from, to;
};

TEST_F(FrequencyMenuGui, V4WithOkAppendsTheBlockAndShowsTheWholeFile) {
    Choose(4, [](epiask* d) { d->Command1->click(); });
    EXPECT_EQ(dialogTitle, "KOVA Frequency Options");
    EXPECT_EQ(from, "1");
    EXPECT_EQ(to, QString::number(s.RecordCount1));

    const std::string text = ReadBytes(anaFile);
    const std::string count = std::to_string(s.RecordCount1);
    EXPECT_EQ(text.rfind(anaFile + "\r\n\r\n\r\nFREQUENCIES:  V4 (no. 1-" + count + ")", 0), 0u)
        << text.substr(0, 200);
    // The row of the code Q carries the number of records coded Q.
    int questions = 0;
    for (int i = 1; i <= s.RecordCount1; ++i)
        questions += s.Records1[static_cast<size_t>(i)].V4 == "Q";
    ASSERT_GT(questions, 0);
    const std::string field = std::to_string(questions);
    EXPECT_NE(text.find("Q" + std::string(12, ' ') + std::string(8 - field.size(), ' ') + field),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("    Total:" + std::string(7, ' ') + std::string(8 - count.size(), ' ') +
                        count + "  100.00%"),
              std::string::npos);

    uitvoer& viewer = ui.Viewer();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), ToQString("KOVA Output file: " + anaFile));
    EXPECT_EQ(viewer.Tekst->toPlainText(), ToEditorText(text));
    EXPECT_TRUE(viewer.Tekst->textCursor().atEnd());
    EXPECT_FALSE(s.Main.CAnaf.visible);
    EXPECT_FALSE(w->CAnaf->isVisible());

    // OK in the viewer brings "Show output" back; it shows the file again.
    viewer.COkee->click();
    EXPECT_TRUE(w->CAnaf->isVisible());
    w->CAnaf->click();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_FALSE(w->CAnaf->isVisible());

    // Closing the viewer with its close box gives the button back as well.
    viewer.close();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_TRUE(w->CAnaf->isVisible());
}

TEST_F(FrequencyMenuGui, CancelWritesNothingAndAllWritesSevenBlocks) {
    Choose(4, [](epiask* d) { d->Command2->click(); });
    EXPECT_FALSE(std::filesystem::exists(anaFile));
    EXPECT_FALSE(ui.Viewer().isVisible());

    Choose(9, [](epiask* d) {
        d->Check1->click();  // episode filling
        d->Text2->setText("20");
        d->Command1->click();
    });
    const std::string text = ReadBytes(anaFile);
    size_t blocks = 0;
    for (size_t at = text.find("FREQUENCIES:"); at != std::string::npos;
         at = text.find("FREQUENCIES:", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 7u);
    EXPECT_NE(text.find("FREQUENCIES:  V7 (no. 1-20) (EPISODE FILLED)"), std::string::npos);
    EXPECT_EQ(ui.Viewer().Tekst->toPlainText(), ToEditorText(text));
}

TEST_F(FrequencyMenuGui, TheMenuShowsTheCurrentLabels) {
    w->Varnaam[4]->setText("Speech act");
    emit w->Varnaam[4]->textEdited("Speech act");
    emit w->mnuAnalyse->aboutToShow();
    EXPECT_EQ(w->mnuAnalyseItem.at(4)->text(), "Speech act");
    EXPECT_EQ(w->mnuAnalyseItem.at(9)->text(), "All");
    // An "&" in a label is shown, not taken as a shortcut mark.
    w->Varnaam[5]->setText("R&D");
    emit w->Varnaam[5]->textEdited("R&D");
    emit w->mnuAnalyse->aboutToShow();
    EXPECT_EQ(w->mnuAnalyseItem.at(5)->text(), "R&&D");
    s.Varnaam[6] = std::string(5000, 'L');  // a label of megabytes shows cut
    emit w->mnuAnalyse->aboutToShow();
    EXPECT_EQ(w->mnuAnalyseItem.at(6)->text().size(), kMaxShownLineBytes);
}

}  // namespace
