// The task pictures of the set being played, as every window shows them:
// the committed pictures of the standard set, or those typeset for a
// teacher's set as it loaded (typeset/TaskPictureSet.h).
#pragma once

#include "quiz/core/TaskSet.h"

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QSizeF>
#include <QString>

#include <memory>

class TTaskPictureSet;

class TTaskPictures {
public:
    // The standard set's.
    TTaskPictures();
    // A set's, typeset by 'typeset' (one picture per entry, in order).
    TTaskPictures(std::shared_ptr<const TTaskSet> set, TTaskPictureSet* typeset);

    const TTaskSet& Set() const { return *set_; }
    const std::shared_ptr<const TTaskSet>& SetShared() const { return set_; }
    const TTaskTable& Table() const { return set_->Table(); }

    // The picture of an entry at a ratio; raises the bitmap loader's
    // Exception for a committed picture that is missing.
    QPixmap Picture(int entry, qreal ratio) const;
    QPixmap Picture(int task, int variant, qreal ratio) const;
    // The same drawn 'scale' times its size on white, for a list.
    QImage Small(int entry, qreal scale, qreal ratio) const;
    // Its size in logical pixels.
    QSizeF Size(int entry) const;
    // The picture in words (code page 1251 made Unicode).
    QString Spoken(int task, int variant) const;

private:
    std::shared_ptr<const TTaskSet> set_;
    QPointer<TTaskPictureSet> typeset_;
};
