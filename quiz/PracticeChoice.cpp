#include "quiz/PracticeChoice.h"

#include "app/shell/Pictures.h"
#include "quiz/core/Practice.h"
#include "quiz/core/TaskCatalogue.h"

#include <QPainter>

#include <algorithm>

namespace {

// Every grey darkened threefold.
QImage Inked(QImage image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int ink = std::min(255, (255 - qGray(row[x])) * 3);
            row[x] = qRgb(255 - ink, 255 - ink, 255 - ink);
        }
    }
    return image;
}

constexpr int kSolvedRole = Qt::UserRole;
const QColor kSolvedGround(200, 240, 200);

// The task's picture, smaller when larger than the thumbnail, on white.
// Made smaller by averaging, so that a thin stroke (a minus, a fraction's
// bar) stays, and then darkened, as it turns a faint grey.
QPixmap Thumbnail(int entry, qreal ratio) {
    const QString name =
        QString::fromStdString(PictureName(PracticeTaskNo(entry), PracticeVariant(entry)));
    const QPixmap picture = TaskPicture(name, ratio);
    const QSizeF size = picture.deviceIndependentSize();
    const QSizeF room = TPracticeChoice::ThumbnailSize;
    const qreal scale = std::min({1.0, room.width() / size.width(), room.height() / size.height()});
    QImage image = picture.toImage().convertToFormat(QImage::Format_RGB32);
    if (scale < 1)
        image = Inked(image.scaled((size * scale * ratio).toSize(), Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation));
    QPixmap thumbnail((room * ratio).toSize());
    thumbnail.setDevicePixelRatio(ratio);
    thumbnail.fill(Qt::white);
    QPainter painter(&thumbnail);
    image.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(2, 2), image);
    return thumbnail;
}

QString EntryText(int entry) {
    return QStringLiteral("%1.%2").arg(PracticeTaskNo(entry)).arg(PracticeVariant(entry));
}

} // namespace

TPracticeChoice::TPracticeChoice(QWidget* parent) : QListWidget(parent) {
    setAccessibleName(QStringLiteral("Задания тренировки"));
    setIconSize(ThumbnailSize + QSize(4, 4));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    for (int entry = 0; entry < kPracticeTasks; ++entry)
        addItem(EntryText(entry));
    ShowMarks({});
}

void TPracticeChoice::LoadPictures() {
    const qreal ratio = devicePixelRatioF();
    for (int entry = 0; entry < kPracticeTasks; ++entry)
        item(entry)->setIcon(QIcon(Thumbnail(entry, ratio)));
}

void TPracticeChoice::ShowMarks(const TPracticeProgress& progress) {
    for (int entry = 0; entry < kPracticeTasks; ++entry) {
        const bool solved = progress.Marks[entry].Solved;
        QListWidgetItem* row = item(entry);
        row->setData(kSolvedRole, solved);
        row->setText(EntryText(entry) + (solved ? QStringLiteral(" ✓") : QString()));
        row->setBackground(solved ? QBrush(kSolvedGround) : QBrush());
        row->setData(Qt::AccessibleTextRole,
                     QStringLiteral("Задание %1, вариант %2, %3")
                         .arg(PracticeTaskNo(entry))
                         .arg(PracticeVariant(entry))
                         .arg(solved ? QStringLiteral("решено") : QStringLiteral("не решено")));
    }
}

bool TPracticeChoice::ShownSolved(int entry) const {
    return item(entry)->data(kSolvedRole).toBool();
}
