// Practice's choice of the table's variants: each "1.1" above a small picture
// of its formula, as wide as the list, and a tick with a green ground once
// solved. The arrows and the mouse choose; Enter goes on to the answer. A
// screen reader hears "Задание 1, вариант 1, решено" and the formula in
// words.
#pragma once

#include "quiz/core/PracticeProgress.h"

#include <QListWidget>

class TPracticeChoice : public QListWidget {
    Q_OBJECT
public:
    // The room of a picture; a smaller one keeps its size, a larger one is
    // drawn smaller to fit.
    static constexpr QSize ThumbnailSize{240, 48};

    // An item for each entry of 'tasks', which outlives the list.
    explicit TPracticeChoice(const TTaskTable& tasks = ReferenceFormulas,
                             QWidget* parent = nullptr);

    // A picture (by its name) in its room, on white, drawn for the ratio.
    static QPixmap Thumbnail(const QString& picture, qreal ratio);

    // Every item's picture; raises what the picture loader raises.
    void LoadPictures();
    // Every item's mark, as the progress says.
    void ShowMarks(const TPracticeProgress& progress);
    // Whether the item says "решено".
    bool ShownSolved(int entry) const;

private:
    const TTaskTable& tasks_;
};
