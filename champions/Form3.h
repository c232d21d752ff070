// The champions window: the fifteen best times.
#pragma once

#include <QWidget>

class QCloseEvent;
class QLabel;
class QPushButton;
class QTableWidget;

class TForm3 : public QWidget {
    Q_OBJECT
public:
    // Builds the layout's controls; raises nothing.
    explicit TForm3(QWidget* parent = nullptr);

    // The glyph of BitBtn1 (two states). Raises when a picture is missing.
    void LoadLayoutPictures();
    // Clips BitBtn1 to its ellipse, writes the grid's header row.
    void FormCreate();
    // Each activation: SortChampions, then FillChampionsGrid.
    void FormActivate();
    // Own close button: hidden, the main window shown.
    void FormClose(QCloseEvent* event);

    // Writes slots 1..15 of ChampionTable into StringGrid1.
    void FillChampionsGrid();

    QLabel* Label1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

public slots:
    void BitBtn1Click();

signals:
    // The window has gone; the main window is to come back.
    void closedToMain();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // FormActivate, unless the sort already failed during this showing.
    void RunActivation();
    // The sort failed during this showing; a re-activation (such as closing
    // the error box) must not sort and show the error again.
    bool sortFailed_ = false;
};

extern TForm3* Form3;
