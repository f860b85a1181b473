#include "mainwindow/windows/gridtry.h"

#include <QAction>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "analyses/listing.h"
#include "analyses/windows/listingoptions.h"
#include "mainwindow/windows/memo.h"
#include "widgets/text_box.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

// The grid's colours: pale yellow cells, dark orange fixed cells with yellow
// text, and the text cell of a record with a memo.
const QColor kCellColour(255, 255, 192);
const QColor kFixedColour(192, 64, 0);
const QColor kFixedText(255, 255, 0);
const QColor kMemoColour(255, 255, 128);

constexpr int kRowHeight = 18;

}  // namespace

GridTableModel::GridTableModel(core::KovaState& s, core::GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent), s_(s), grid_(grid) {}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.RowCount();
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    const int row = index.row() + 1;
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return VisibleText(grid_.Cell(s_, row, column));
        case Qt::BackgroundRole:
            if (column == 0)
                return kFixedColour;
            if (column == grid_.TextColumn() && grid_.MemoMarked(s_, row))
                return kMemoColour;
            return kCellColour;
        case Qt::ForegroundRole:
            return column == 0 ? QVariant(kFixedText) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
        default:
            return QVariant();
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::DisplayRole)
        return ToQString(ShownPart(grid_.Header(s_, section)));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    return QVariant();
}

void GridTableModel::Reorder(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
}

void GridTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const QRect cell = visualRect(index);
    const int width = viewport()->width();
    if (index.isValid() && cell.left() >= 0 && cell.left() < width && cell.right() >= width) {
        // Rows only: the column that starts the window stays where it is.
        const int shown = columnAt(0);
        if (shown >= 0) {
            QTableView::scrollTo(index.siblingAtColumn(shown), hint);
            return;
        }
    }
    QTableView::scrollTo(index, hint);
}

void GridCombo::showPopup() {
    if (dropDown)
        dropDown();
    QComboBox::showPopup();
}

gridtry::gridtry(core::KovaState& s, core::KovaUi& ui, core::GridModel grid, MemoOpener openMemo,
                 QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      s_(s),
      ui_(ui),
      grid_(std::move(grid)),
      openMemo_(std::move(openMemo)) {
    setObjectName("gridtry");
    setWindowTitle("KOVA GRID VIEW");
    setAttribute(Qt::WA_DeleteOnClose);

    mnuSort = menuBar()->addMenu("&Sort");
    mnuSort->setObjectName("mnuSort");
    for (int k = 0; k <= 8; ++k) {
        mnuSortItem[k] = mnuSort->addAction(QString("V%1").arg(k));
        mnuSortItem[k]->setObjectName(QString("mnuSortItem_%1").arg(k));
        connect(mnuSortItem[k], &QAction::triggered, this, [this, k] { mnuSortItem_Click(k); });
    }
    connect(mnuSort, &QMenu::aboutToShow, this, &gridtry::mnuSort_Click);

    auto* inner = new QWidget(this);
    setCentralWidget(inner);
    MSFlexGrid1 = new GridTable(inner);
    MSFlexGrid1->setObjectName("MSFlexGrid1");
    table_ = new GridTableModel(s_, grid_, this);
    MSFlexGrid1->setModel(table_);
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(true);
    MSFlexGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    MSFlexGrid1->horizontalHeader()->setStyleSheet(
        "QHeaderView::section { background-color: rgb(192, 64, 0); color: rgb(255, 255, 0); }");
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGrid1->setWordWrap(false);
    MSFlexGrid1->setTextElideMode(Qt::ElideNone);
    MSFlexGrid1->viewport()->installEventFilter(this);

    Combo1 = new GridCombo(MSFlexGrid1->viewport());
    Combo1->setObjectName("Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Codes are stored as typed: no completion from the list, which would
    // turn a typed "q" into a listed "Q" or "Q1".
    Combo1->setCompleter(nullptr);
    Combo1->hide();
    Combo1->dropDown = [this] { Combo1_DropDown(); };
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });
    connect(Combo1->lineEdit(), &QLineEdit::returnPressed, this, &gridtry::Combo1_Click);
    Combo1->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);

    RichTextBox1 = new TextBox(MSFlexGrid1->viewport());
    RichTextBox1->setObjectName("RichTextBox1");
    RichTextBox1->hide();
    RichTextBox1->installEventFilter(this);
    RichTextBox1->viewport()->installEventFilter(this);

    Command1 = new QPushButton("OK", inner);
    Command1->setObjectName("Command1");
    Command1->resize(Tw(600), Tw(240));
    Command2 = new QPushButton("List Sorted Data", inner);
    Command2->setObjectName("Command2");
    Command2->resize(Tw(1455), Tw(240));
    Label1 = new QLabel("To sort: doubleclick the column header", inner);
    Label1->setObjectName("Label1");
    Label1->resize(Tw(4000), Tw(240));
    for (QPushButton* b : {Command1, Command2})
        b->setAutoDefault(false);

    connect(Command1, &QPushButton::clicked, this, &gridtry::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &gridtry::Command2_Click);
    connect(MSFlexGrid1->horizontalHeader(), &QHeaderView::sectionPressed, this,
            [this](int column) {
                // A click on a heading makes row 1 of that column current.
                SetCurrentCell(1, column);
                Combo1->hide();
            });
    connect(MSFlexGrid1->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            &gridtry::MSFlexGrid1_HeaderDblClick);
    connect(MSFlexGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex&) {
        if (Row() == 1)
            MSFlexGrid1_HeaderDblClick(Col());
    });
    connect(MSFlexGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                // Leaving a cell commits the box floated over it first.
                MSFlexGrid1_CommitCell();
                if (RichTextBox1->isVisible() &&
                    (current.row() + 1 != textRow_ || current.column() != textCol_)) {
                    CommitText();
                    RichTextBox1->hide();
                }
            });
    for (QScrollBar* bar : {MSFlexGrid1->verticalScrollBar(), MSFlexGrid1->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this](int) { MSFlexGrid1_HideEditor(); });

    resize(Tw(12000), Tw(8000));
    Form_Load();
}

gridtry::~gridtry() = default;

void gridtry::Form_Load() {
    CentreOnScreen(this);
    // The record numbers and positions of columns 0 and 1 run to five
    // digits and a sign: those columns are at least as wide as that, with
    // the margins the cells keep on either side and the grid line.
    const int margin =
        MSFlexGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, MSFlexGrid1) + 1;
    const int numberWidth = MSFlexGrid1->fontMetrics().horizontalAdvance("-00000") + 2 * margin + 1;
    for (int c = 0; c < grid_.ColumnCount(); ++c) {
        const int width = Tw(grid_.ColumnWidth(c));
        MSFlexGrid1->setColumnWidth(c, c <= 1 ? std::max(width, numberWidth) : width);
    }
    SetCurrentCell(1, 1);
}

int gridtry::Row() const {
    QModelIndex current = MSFlexGrid1->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int gridtry::Col() const {
    QModelIndex current = MSFlexGrid1->currentIndex();
    return current.isValid() ? current.column() : 0;
}

void gridtry::SetCurrentCell(int row, int column) {
    MSFlexGrid1->setCurrentIndex(table_->index(row - 1, column));
}

void gridtry::Command1_Click() {
    close();
}

void gridtry::closeEvent(QCloseEvent* event) {
    // What was typed into a floated box is stored before the grid goes.
    MSFlexGrid1_CommitCell();
    CommitText();
    s_.ActiveWindowName = "kova";
    s_.MainFormActive = true;
    event->accept();
}

void gridtry::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    s_.MainFormActive = !isActiveWindow();
    if (isActiveWindow() && !grid_.UpToDate(s_))
        Resync();
}

void gridtry::Resync() {
    // Records were added, cut or pasted, or another file opened, while the
    // grid stood aside: it takes the set over as it now is, so that what is
    // typed next lands on the record shown. The boxes were committed when
    // the grid lost the focus; what is left in them belongs to old rows.
    Combo1->hide();
    RichTextBox1->hide();
    comboRow_ = 0;
    textRow_ = 0;
    bool kept = true;
    table_->Reorder([&] { kept = grid_.Rebind(s_); });
    if (!kept) {
        close();
        return;
    }
    SetCurrentCell(1, 1);
}

void gridtry::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void gridtry::Form_Resize() {
    if (isMinimized())
        return;
    const int w = centralWidget()->width() * 15;
    const int h = centralWidget()->height() * 15;
    MSFlexGrid1->setGeometry(0, 0, Tw(std::max(w - 250, 0)), Tw(std::max(h - 300, 0)));
    Command2->move(Tw(w - 1500), Tw(h - 250));
    Command1->move(Tw(w / 2), Tw(h - 250));
    Label1->move(0, Tw(h - 250));
}

bool gridtry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MSFlexGrid1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        MSFlexGrid1_MouseButton(mouse->button(), MSFlexGrid1->indexAt(mouse->position().toPoint()));
    } else if (event->type() == QEvent::MouseButtonDblClick &&
               (watched == Combo1 || watched == Combo1->lineEdit() ||
                watched == RichTextBox1->viewport())) {
        // The box floated by the first click of a double click on a cell of
        // row 1 takes the second: the double click still sorts.
        const bool combo = watched != RichTextBox1->viewport();
        if ((combo ? comboRow_ : textRow_) == 1 &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            MSFlexGrid1_HeaderDblClick(combo ? comboCol_ : textCol_);
            return true;
        }
    } else if (watched == RichTextBox1 && event->type() == QEvent::FocusOut) {
        CommitText();
    } else if (event->type() == QEvent::FocusOut && Combo1 != nullptr &&
               (watched == Combo1 || watched == Combo1->lineEdit()) &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // A code typed and left for another window (the main window's Save,
        // say) is stored then, as a text typed into the text box is; the
        // box's own list taking the focus is no leaving.
        MSFlexGrid1_CommitCell();
    }
    return QMainWindow::eventFilter(watched, event);
}

void gridtry::MSFlexGrid1_MouseButton(Qt::MouseButton button, const QModelIndex& index) {
    if (!index.isValid() || index.column() == 0) {
        Combo1->hide();
        return;
    }
    const int row = index.row() + 1;
    const int column = index.column();
    SetCurrentCell(row, column);
    if (button == Qt::RightButton) {
        ShowMemo(row, column);
        return;
    }
    switch (grid_.EditorFor(column)) {
        case core::GridEditor::Combo:
            FloatCombo(row, column);
            break;
        case core::GridEditor::Text:
            FloatText(row, column);
            break;
        case core::GridEditor::None:
            break;
    }
}

void gridtry::FloatCombo(int row, int column) {
    Combo1->hide();
    const QRect cell = MSFlexGrid1->visualRect(table_->index(row - 1, column));
    comboRow_ = row;
    comboCol_ = column;
    Combo1->setGeometry(cell.left(), cell.top(), cell.width(), Combo1->sizeHint().height());
    // A one-line box holds no more than its maximum length: a longer field
    // shows cut and read-only, and only a value picked from the list replaces
    // it. The box's own text is what counts as unchanged.
    const std::string field = grid_.Cell(s_, row, column);
    const auto room = static_cast<size_t>(Combo1->lineEdit()->maxLength());
    Combo1->lineEdit()->setReadOnly(field.size() > room);
    Combo1->setEditText(ToQString(std::string_view(field).substr(0, room)));
    comboOpened_ = Combo1->currentText();
    Combo1->show();
    Combo1->setFocus();
}

void gridtry::FloatText(int row, int column) {
    CommitText();
    RichTextBox1->hide();
    const QRect cell = MSFlexGrid1->visualRect(table_->index(row - 1, column));
    textRow_ = row;
    textCol_ = column;
    RichTextBox1->setGeometry(cell.left(), cell.top(), cell.width(), Tw(1000));
    textOpened_ = grid_.Cell(s_, row, column);
    SetEditableBytes(RichTextBox1, textOpened_);
    RichTextBox1->show();
    if (grid_.Layout() == core::GridLayout::TwoCoder)
        RichTextBox1->setFocus();
}

void gridtry::Combo1_DropDown() {
    Combo1->clear();
    if (comboCol_ >= 5 && comboCol_ <= 8) {
        for (const std::string& item : s_.CategoryLists[static_cast<size_t>(comboCol_ - 1)])
            AddShownItem(Combo1, item);
    }
    Combo1->setEditText(comboOpened_);
    const int visible = std::max(1, std::min(Combo1->count(), height() / kRowHeight));
    Combo1->setMaxVisibleItems(comboCol_ >= 5 && comboCol_ <= 8 ? visible : 1);
}

void gridtry::Combo1_Click() {
    if (comboRow_ == 0)
        return;
    const QString text = Combo1->currentText();
    // Only a text the user changed is stored.
    if (text == comboOpened_)
        return;
    comboOpened_ = text;
    Store(comboRow_, comboCol_, ComboBytes(Combo1));
}

void gridtry::MSFlexGrid1_CommitCell() {
    if (Combo1->isVisible())
        Combo1_Click();
}

void gridtry::CommitText() {
    if (textRow_ == 0)
        return;
    std::string text = EditableBytes(RichTextBox1);
    if (text == textOpened_)
        return;
    textOpened_ = text;
    Store(textRow_, textCol_, text);
}

void gridtry::Store(int row, int column, const std::string& text) {
    const core::GridEdit edit = grid_.SetCell(s_, ui_, row, column, text);
    MSFlexGrid1->viewport()->update();
    if (edit == core::GridEdit::Stored)
        emit Edited();
    // Refused as too large: the editor shows the cell as its record holds it.
    if (edit == core::GridEdit::TooLarge) {
        if (row == textRow_ && column == textCol_)
            FloatText(row, column);
        else
            FloatCombo(row, column);
    }
}

void gridtry::MSFlexGrid1_HideEditor() {
    // A scroll would take the boxes away from their cells: what was typed
    // into them is stored first.
    MSFlexGrid1_CommitCell();
    CommitText();
    Combo1->clear();
    Combo1->hide();
    RichTextBox1->hide();
}

void gridtry::ShowMemo(int row, int column) {
    const core::MemoTarget target = grid_.MemoTargetForRow(s_, ui_, row);
    if (!target.valid)
        return;
    s_.MemoRecord = static_cast<int16_t>(row);
    const QRect cell = MSFlexGrid1->visualRect(table_->index(row - 1, column));
    const QPoint at =
        MSFlexGrid1->viewport()->mapToGlobal(cell.topLeft() + QPoint(cell.width() / 2, Tw(600)));
    if (Memo* memo = openMemo_ ? openMemo_(target, at) : nullptr) {
        // A stored or deleted memo recolours the row's text cell.
        connect(memo, &QDialog::finished, this, &gridtry::MemoClosed, Qt::UniqueConnection);
    }
}

void gridtry::MemoClosed() {
    MSFlexGrid1->viewport()->update();
}

void gridtry::mnuSort_Click() {
    for (int k = 0; k <= 8; ++k)
        mnuSortItem[k]->setText(ToCaptionText(ShownPart(s_.Varnaam[static_cast<size_t>(k)])));
}

void gridtry::mnuSortItem_Click(int Index) {
    MSFlexGrid1_HideEditor();
    table_->Reorder([&] { grid_.SortByMenuItem(s_, Index); });
    SetCurrentCell(1, 0);
}

void gridtry::MSFlexGrid1_HeaderDblClick(int column) {
    if (Row() != 1)
        return;
    MSFlexGrid1_HideEditor();
    table_->Reorder([&] { grid_.SortByColumn(s_, column); });
    SetCurrentCell(1, column);
}

void gridtry::Command2_Click() {
    MSFlexGrid1_CommitCell();
    CommitText();
    s_.DialogCancelled = 0;
    {
        listingoptions dialog(this, s_, ui_);
        dialog.exec();
    }
    if (s_.DialogCancelled != 0)
        return;
    if (!grid_.CheckUpToDate(s_, ui_))
        return;
    core::GridListing listing;
    listing.twoCoder = grid_.Layout() == core::GridLayout::TwoCoder;
    listing.rows = grid_.ListingRows(s_);
    core::WriteGridListing(s_, ui_, grid_.ListedSetFileName(s_), listing);
}

// The meta-object code goes with this file.
#include "moc_gridtry.cpp"
