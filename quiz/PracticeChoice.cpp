#include "quiz/PracticeChoice.h"

#include "quiz/core/Practice.h"
#include "quiz/core/SpokenFormula.h"
#include "quiz/core/TaskCatalogue.h"
#include "ui/BitmapResources.h"
#include "ui/Pictures.h"
#include "ui/TextCodec.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Every grey darkened twofold.
QImage Inked(QImage image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int ink = std::min(255, (255 - qGray(row[x])) * 2);
            row[x] = qRgb(255 - ink, 255 - ink, 255 - ink);
        }
    }
    return image;
}

constexpr int kSolvedRole = Qt::UserRole;
const QColor kSolvedGround(200, 240, 200);

// Each task's number above its picture, so the picture has the list's width.
class TNumberAbovePicture : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationPosition = QStyleOptionViewItem::Bottom;
        option->decorationAlignment = Qt::AlignLeft | Qt::AlignTop;
        option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    }
};

} // namespace

TPracticeChoice::TPracticeChoice(QWidget* parent) : QListWidget(parent) {
    setAccessibleName(QStringLiteral("Задания тренировки"));
    setIconSize(ThumbnailSize);
    setItemDelegate(new TNumberAbovePicture(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    ShowSet({}, {});
}

void TPracticeChoice::ShowSet(TTaskPictures pictures, const TPracticeProgress& progress) {
    const QSignalBlocker quiet(this); // the window chooses a task once the list is filled
    pictures_ = std::move(pictures);
    clear();
    for (int entry = 0; entry < Tasks().EntryCount(); ++entry) {
        addItem(QString::fromStdString(Tasks().EntryText(entry)));
        // The picture in words, said after the task's number.
        item(entry)->setData(Qt::AccessibleDescriptionRole,
                             FromCp1251(SpokenTex(Tasks().Row(entry).Tex)));
    }
    ShowMarks(progress);
}

// A picture keeps a pixel of white round it, so its ink never touches the
// room's edges. Drawn smaller than on the screen's pixels, it is darkened,
// as its thin strokes turn a faint grey.
QPixmap TPracticeChoice::Thumbnail(const QString& name, qreal ratio) {
    const QSizeF size = LoadBitmapResource(name).size();
    return Framed(
        size, [&](qreal scale) { return SmallTaskPicture(name, scale, ratio); }, ratio);
}

QPixmap TPracticeChoice::Thumbnail(int entry, qreal ratio) const {
    return Framed(
        pictures_.Size(entry), [&](qreal scale) { return pictures_.Small(entry, scale, ratio); },
        ratio);
}

QPixmap TPracticeChoice::Framed(QSizeF size, const std::function<QImage(qreal scale)>& draw,
                                qreal ratio) {
    const QSizeF room = ThumbnailSize - QSize(2, 2);
    if (size.isEmpty())
        size = room;
    const qreal scale = std::min({1.0, room.width() / size.width(), room.height() / size.height()});
    QImage image = draw(scale);
    if (scale * ratio < 1)
        image = Inked(image);
    QPixmap thumbnail((QSizeF(ThumbnailSize) * ratio).toSize());
    thumbnail.setDevicePixelRatio(ratio);
    thumbnail.fill(Qt::white);
    QPainter(&thumbnail).drawImage(QPointF(1, 1), image);
    return thumbnail;
}

void TPracticeChoice::LoadPictures() {
    const qreal ratio = devicePixelRatioF();
    for (int entry = 0; entry < Tasks().EntryCount(); ++entry)
        item(entry)->setIcon(QIcon(Thumbnail(entry, ratio)));
}

void TPracticeChoice::ShowMarks(const TPracticeProgress& progress) {
    for (int entry = 0; entry < Tasks().EntryCount(); ++entry) {
        const bool solved =
            progress.Mark(PracticeProgressName(pictures_.Set().Name(), Tasks().PictureName(entry)))
                .Solved;
        QListWidgetItem* row = item(entry);
        row->setData(kSolvedRole, solved);
        row->setText(QString::fromStdString(Tasks().EntryText(entry)) +
                     (solved ? QStringLiteral(" ✓") : QString()));
        row->setBackground(solved ? QBrush(kSolvedGround) : QBrush());
        row->setData(Qt::AccessibleTextRole,
                     QStringLiteral("Задание %1, вариант %2, %3")
                         .arg(Tasks().Row(entry).Task)
                         .arg(Tasks().Row(entry).Variant)
                         .arg(solved ? QStringLiteral("решено") : QStringLiteral("не решено")));
    }
}

bool TPracticeChoice::ShownSolved(int entry) const {
    return item(entry)->data(kSolvedRole).toBool();
}
