// Practice's choice of the thirty tasks: each a small picture of its
// formula, "1.1" beside it and a tick with a green ground once solved. The
// arrows and the mouse choose; Enter goes on to the answer. A screen reader
// hears "Задание 1, вариант 1, решено".
#pragma once

#include "quiz/core/PracticeProgress.h"

#include <QListWidget>

class TPracticeChoice : public QListWidget {
    Q_OBJECT
public:
    // The largest picture; a smaller one keeps its size.
    static constexpr QSize ThumbnailSize{136, 38};

    explicit TPracticeChoice(QWidget* parent = nullptr);

    // The thirty items with their pictures; raises what the picture loader
    // raises.
    void LoadPictures();
    // Every item's mark, as the progress says.
    void ShowMarks(const TPracticeProgress& progress);
    // Whether the item says "решено".
    bool ShownSolved(int entry) const;
};
