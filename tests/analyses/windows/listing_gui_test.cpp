// "List Data" on the sample protocol as a user runs it, and the grid view's
// "List Sorted Data": the options dialog, the ".lst" file, the viewer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "analyses/windows/listingoptions.h"
#include "analyses/windows/uitvoer.h"
#include "mainwindow/windows/gridtry.h"
#include "support/main_window_fixture.h"

namespace {

using test::ReadBytes;

struct ListingGui : test::SampleProtocolTest {
    QString title, label3, from, to;

    // The next options dialog is answered by `answer`.
    void Answer(std::function<void(listingoptions*)> answer) {
        test::WhenModal([this, answer](QWidget* modal) {
            auto* dialog = qobject_cast<listingoptions*>(modal);
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            label3 = dialog->Label3->text();
            from = dialog->Text1->text();
            to = dialog->Text2->text();
            answer(dialog);
        });
    }
};

TEST_F(ListingGui, RangeBoxesLeaveTheirWordsInSight) {
    listingoptions d(nullptr, s, ui);
    const QFontMetrics metrics(d.Label1->font());
    const QString text = d.Label1->text();
    const int toAt = d.Label1->x() + metrics.horizontalAdvance(text.left(text.lastIndexOf("to")));
    EXPECT_GE(d.Text1->x(),
              d.Label1->x() + metrics.horizontalAdvance(text.left(text.indexOf("no.") + 3)));
    EXPECT_LE(d.Text1->geometry().right(), toAt);
    EXPECT_GE(d.Text2->x(), d.Label1->x() + metrics.horizontalAdvance(text));
    EXPECT_LE(d.Text2->geometry().right(), d.width());
}

TEST_F(ListingGui, ListDataWritesTheChosenRecordsInTheImportLayout) {
    Answer([](listingoptions* d) {
        d->Text1->setText("2");
        d->Text2->setText("3");
        d->Option1[1]->click();
        d->Command1->click();
    });
    w->CPrint->click();
    EXPECT_EQ(title, " KOVA Print & List");
    EXPECT_EQ(label3, " List Protocol ");
    EXPECT_EQ(from, " 1");
    EXPECT_EQ(to, QString(" %1").arg(s.RecordCount1));
    std::string listing = ReadBytes(lstFile);
    EXPECT_EQ(listing.rfind("\r\n    2^", 0), 0u) << listing;
    EXPECT_NE(listing.find("\r\n    3^"), std::string::npos);
    EXPECT_EQ(listing.find("\r\n    4^"), std::string::npos);
    EXPECT_EQ(s.ListingFileName, lstFile);
    EXPECT_TRUE(ui.Viewer().isVisible());
    EXPECT_EQ(ui.Viewer().windowTitle(), QString::fromStdString("KOVA Output file: " + lstFile));

    // Cancel writes nothing more.
    Answer([](listingoptions* d) { d->Command2->click(); });
    w->CPrint->click();
    EXPECT_EQ(ReadBytes(lstFile), listing);
}

TEST_F(ListingGui, ListSortedDataFollowsTheGridsOrder) {
    w->Command1->click();
    gridtry* grid = w->GridWindow();
    ASSERT_NE(grid, nullptr);
    grid->mnuSortItem[4]->trigger();
    const int first = grid->Grid().Position(1);
    ASSERT_NE(first, 1);
    Answer([](listingoptions* d) {
        d->Option1[0]->click();
        d->Command1->click();
    });
    grid->Command2->click();
    EXPECT_EQ(title, "KOVA  Listing options");
    EXPECT_EQ(label3, "      List sorted data");
    std::string listing = ReadBytes(lstFile);
    // An empty line, one line per record at least, an empty line.
    const std::string firstNumber = std::to_string(s.Records1[first].V0);
    EXPECT_EQ(
        listing.rfind("\r\n" + std::string(5 - firstNumber.size(), ' ') + firstNumber + "|", 0), 0u)
        << listing.substr(0, 200);
    EXPECT_EQ(listing.substr(listing.size() - 4), "\r\n\r\n");
    EXPECT_TRUE(ui.Viewer().isVisible());
    grid->close();
}

}  // namespace
