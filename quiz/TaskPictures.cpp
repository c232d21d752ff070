#include "quiz/TaskPictures.h"

#include "quiz/core/SpokenFormula.h"
#include "typeset/TaskPictureSet.h"
#include "ui/BitmapResources.h"
#include "ui/Pictures.h"
#include "ui/TextCodec.h"

#include <QPainter>
#include <QtMath>

TTaskPictures::TTaskPictures() : set_(StandardTaskSet()) {}

TTaskPictures::TTaskPictures(std::shared_ptr<const TTaskSet> set, TTaskPictureSet* typeset)
    : set_(set ? std::move(set) : StandardTaskSet()), typeset_(typeset) {}

QPixmap TTaskPictures::Picture(int entry, qreal ratio) const {
    if (set_->IsStandard())
        return TaskPicture(QString::fromStdString(Table().PictureName(entry)), ratio);
    return typeset_ ? typeset_->Picture(entry, ratio) : QPixmap();
}

QPixmap TTaskPictures::Picture(int task, int variant, qreal ratio) const {
    const std::optional<int> entry = Table().Entry(task, variant);
    return entry ? Picture(*entry, ratio) : QPixmap();
}

QImage TTaskPictures::Small(int entry, qreal scale, qreal ratio) const {
    if (set_->IsStandard())
        return SmallTaskPicture(QString::fromStdString(Table().PictureName(entry)), scale, ratio);
    const QSizeF size = Size(entry) * scale;
    QImage image(qCeil(size.width() * ratio), qCeil(size.height() * ratio), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), size), Picture(entry, ratio).toImage());
    return image;
}

QSizeF TTaskPictures::Size(int entry) const {
    if (set_->IsStandard())
        return LoadBitmapResource(QString::fromStdString(Table().PictureName(entry))).size();
    return typeset_ ? typeset_->Size(entry) : QSizeF();
}

QString TTaskPictures::Spoken(int task, int variant) const {
    return FromCp1251(SpokenTask(Table(), task, variant));
}
