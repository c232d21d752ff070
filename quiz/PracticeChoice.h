// Practice's choice of the table's variants: each "1.1" above a small picture
// of its formula, as wide as the list, and a tick with a green ground once
// solved. The arrows and the mouse choose; Enter goes on to the answer. A
// screen reader hears "Задание 1, вариант 1, решено" and the formula in
// words.
#pragma once

#include "quiz/TaskPictures.h"
#include "quiz/core/PracticeProgress.h"

#include <QListWidget>

#include <functional>

class TPracticeChoice : public QListWidget {
    Q_OBJECT
public:
    // The room of a picture; a smaller one keeps its size, a larger one is
    // drawn smaller to fit.
    static constexpr QSize ThumbnailSize{240, 48};

    // An item for each entry of the standard set.
    explicit TPracticeChoice(QWidget* parent = nullptr);

    // An item for each entry of the set whose pictures these are, marked
    // as the progress says (names as PracticeProgressName gives them).
    void ShowSet(TTaskPictures pictures, const TPracticeProgress& progress);

    // A standard picture (by its name) in its room, on white, drawn for the ratio.
    static QPixmap Thumbnail(const QString& picture, qreal ratio);
    // An entry's picture of the set shown, the same way.
    QPixmap Thumbnail(int entry, qreal ratio) const;

    // Every item's picture; raises what the picture loader raises.
    void LoadPictures();
    // Every item's mark, as the progress says.
    void ShowMarks(const TPracticeProgress& progress);
    // Whether the item says "решено".
    bool ShownSolved(int entry) const;

private:
    // A picture of 'size' drawn by draw at a scale that fits the room.
    static QPixmap Framed(QSizeF size, const std::function<QImage(qreal scale)>& draw, qreal ratio);
    const TTaskTable& Tasks() const { return pictures_.Table(); }

    TTaskPictures pictures_;
};
