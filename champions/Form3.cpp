#include "champions/Form3.h"

#include "champions/core/ChampionTable.h"
#include "ui/AccessibleTree.h"
#include "ui/Handler.h"
#include "ui/Look.h"
#include "ui/Pictures.h"
#include "ui/Resources.h"
#include "ui/TextCodec.h"
#include "ui/WidgetStyle.h"
#include "ui/Windowing.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

TForm3* Form3 = nullptr;

namespace {

constexpr int kGridRows = 16;
constexpr int kGridColumns = 3;

QTableWidgetItem* Cell(QTableWidget* grid, int column, int row) {
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled); // not editable, not selectable
        grid->setItem(row, column, item);
    }
    return item;
}

} // namespace

TForm3::TForm3(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Рекорды"));
    ShowOnlyWhatShows(this, QAccessible::Dialog);
    // A dialog border: the close button only. Minimised, it would leave no
    // window on screen.
    SetTitleButtons(this, TTitleButtons::Close);
    KeepFromMinimising(this);
    setFixedSize(404, 536);
    move(172, 90);
    setFont(PixelFont(QStringLiteral("Franklin Gothic Medium"), 15));
    SetBackground(this, clGray);
    SetLayoutColour(this, {QPalette::WindowText}, clYellow);

    Label1 = new QLabel(QStringLiteral("Список лучших результатов:"), this);
    Label1->move(24, 18);
    Label1->adjustSize();

    StringGrid1 = new QTableWidget(kGridRows, kGridColumns, this);
    StringGrid1->setGeometry(24, 51, 354, 361);
    StringGrid1->setAccessibleName(QStringLiteral("Рекорды"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    // Tab reaches the table and the arrows read it: a reader says each row
    // (place, name, time) as the keys come to it.
    StringGrid1->setFocusPolicy(Qt::StrongFocus);
    StringGrid1->setTabKeyNavigation(false);
    ReadLinesByArrows(StringGrid1);
    StringGrid1->setTextElideMode(Qt::ElideNone); // cells clip, never "…"
    StringGrid1->setWordWrap(false);
    StringGrid1->setFont(PixelFont(QStringLiteral("Times New Roman"), 15, kItalic));
    SetLayoutColour(StringGrid1, {QPalette::Text}, clNavy);
    SetLayoutColour(StringGrid1, {QPalette::Base}, clWhite);
    const int widths[kGridColumns] = {33, 166, 74};
    for (int c = 0; c < kGridColumns; ++c)
        StringGrid1->setColumnWidth(c, widths[c]);
    // Sixteen rows fit the grid's height, so the header row never scrolls.
    for (int r = 0; r < kGridRows; ++r)
        StringGrid1->setRowHeight(r, 22);
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            QTableWidgetItem* item = Cell(StringGrid1, c, r);
            item->setForeground(clNavy);
            if (r == 0)
                item->setBackground(clLime); // the fixed row
        }

    BitBtn1 = new QPushButton(QStringLiteral("Закрыть"), this);
    BitBtn1->setGeometry(92, 442, 229, 77);
    BitBtn1->setFont(PixelFont(QStringLiteral("Comic Sans MS"), 15));
    SetLayoutColour(BitBtn1, {QPalette::ButtonText}, clRed);
    BitBtn1->setIconSize(QSize(16, 16));
    connect(BitBtn1, &QPushButton::clicked, this, Handler([this] { BitBtn1Click(); }));
}

void TForm3::LoadLayoutPictures() {
    BitBtn1->setIcon(ScalableGlyph(QStringLiteral("close")));
}

void TForm3::FormCreate() {
    MakeOvalButton(BitBtn1);
    Cell(StringGrid1, 0, 0)->setText(QStringLiteral("№"));
    Cell(StringGrid1, 1, 0)->setText(QStringLiteral("Имя"));
    Cell(StringGrid1, 2, 0)->setText(QStringLiteral("Результат"));
    // The same texts head the columns for a screen reader, and the places
    // head the rows; the header views stay hidden, row 0 shows the titles.
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("Имя"), QStringLiteral("Результат")});
    QStringList places{QString()};
    for (int place = 1; place <= kRankingSlots; ++place)
        places << QString::number(place);
    StringGrid1->setVerticalHeaderLabels(places);
    StringGrid1->setCurrentCell(1, 0); // the keys come to the first place
}

void TForm3::FormActivate() {
    SortChampions();
    FillChampionsGrid();
}

void TForm3::BitBtn1Click() {
    hide();
    emit closedToMain();
}

void TForm3::FormClose(QCloseEvent* event) {
    event->accept(); // hides; the window is never destroyed
    emit closedToMain();
}

bool TForm3::event(QEvent* event) {
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        RunActivation();
    return result;
}

// Each showing sorts afresh. Showing activates the window, since not every
// desktop activates a newly shown window; one that still holds the focus
// from its last showing gets no new activation, so its handler runs here.
void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    sortFailed_ = false;
    BitBtn1->setFocus();
    raise();
    if (isActiveWindow() || QGuiApplication::focusWindow() == windowHandle())
        RunActivation();
    else
        activateWindow();
}

void TForm3::RunActivation() {
    if (!sortFailed_)
        sortFailed_ = !RunProtected([this] { FormActivate(); });
}

// Enter and Return press "Закрыть", as "Далее" in the verdict window.
void TForm3::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        BitBtn1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm3::closeEvent(QCloseEvent* event) {
    RunProtected([this, event] { FormClose(event); });
}

void TForm3::FillChampionsGrid() {
    QTableWidget* grid = StringGrid1;
    for (int r = 1; r <= kRankingSlots; ++r) {
        Cell(grid, 0, r)->setText(QString::number(r));
        // A place's name shows even without a time, as the file holds it.
        Cell(grid, 1, r)->setText(FromCp1251(ChampionTable[r].Name()));
        Cell(grid, 2, r)->setText(FromCp1251(ChampionTable[r].Result()));
    }
}
