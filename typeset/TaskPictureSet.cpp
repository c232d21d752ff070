#include "typeset/TaskPictureSet.h"

#include "typeset/TypesetService.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cmath>

namespace {

// Changes whenever the pictures would come out differently (their look, the
// typesetter's settings), so that no older picture is taken for a newer.
constexpr char kLookVersion[] = "task-picture-1";

// A cached file larger than a picture can be is not one.
constexpr qint64 kMaxCachedBytes = 4 << 20;

QImage WithMargin(const QImage& formula, qreal ratio) {
    const int margin = static_cast<int>(std::ceil(TTaskPictureSet::Margin * ratio));
    QImage image(formula.width() + 2 * margin, formula.height() + 2 * margin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QImage ink = formula;
    ink.setDevicePixelRatio(1);
    QPainter(&image).drawImage(margin, margin, ink);
    image.setDevicePixelRatio(ratio);
    return image;
}

QString RefusalWords(const TTypesetFormula& formula) {
    switch (formula.Status) {
    case TTypesetFormula::TStatus::TexError:
        return QStringLiteral("TeX картинки не набирается: «%1»").arg(formula.Message);
    case TTypesetFormula::TStatus::TooLarge:
        return QStringLiteral("TeX картинки слишком велик");
    case TTypesetFormula::TStatus::TimedOut:
        return QStringLiteral("TeX картинки не набран за отведённое время");
    default:
        return QStringLiteral("картинку не удалось нарисовать: %1").arg(formula.Message);
    }
}

} // namespace

TTaskPictureSet::TTaskPictureSet(QStringList texs, qreal ratio, QObject* parent,
                                 TTypesetService* service)
    : QObject(parent), texs_(std::move(texs)), ratio_(ratio > 0 ? ratio : 1),
      images_(static_cast<std::size_t>(texs_.size())), ownService_(service == nullptr) {
    AddClient(service);
}

void TTaskPictureSet::AddClient(TTypesetService* service) {
    const std::size_t client = clients_.size();
    clients_.push_back(new TTypesetClient(this, service));
    working_.push_back(-1);
    connect(clients_.back(), &TTypesetClient::typeset, this,
            [this, client](const TTypesetFormula& formula) { Take(client, formula); });
}

QString TTaskPictureSet::CacheFolder() {
    const QByteArray home = qgetenv("XDG_CACHE_HOME");
    const QString base = home.startsWith('/')
                             ? QFile::decodeName(home)
                             : QFile::decodeName(qgetenv("HOME")) + QStringLiteral("/.cache");
    return base + QStringLiteral("/Formulon/pictures");
}

// Keyed by the TeX and the density: the same formula on another screen is
// another picture.
QString TTaskPictureSet::CachePath(int index) const {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(kLookVersion);
    hash.addData(QByteArray::number(ratio_, 'f', 4));
    hash.addData(texs_[index].toUtf8());
    return CacheFolder() + '/' + QString::fromLatin1(hash.result().toHex()) +
           QStringLiteral(".png");
}

bool TTaskPictureSet::TakeFromCache(int index) {
    QFile file(CachePath(index));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCachedBytes)
        return false;
    QImage image;
    // A file cut short or damaged is typeset again and replaced.
    if (!image.loadFromData(file.readAll(), "PNG") || image.isNull())
        return false;
    image.setDevicePixelRatio(ratio_);
    images_[static_cast<std::size_t>(index)] = image;
    ++ready_;
    emit pictureReady(index);
    return true;
}

void TTaskPictureSet::Load() {
    int missing = 0;
    for (int index = 0; index < Count(); ++index)
        missing += TakeFromCache(index) ? 0 : 1;
    // MathJax runs on one thread; a second typesetter halves a first load
    // on two cores at the cost of its memory while it works.
    if (ownService_ && missing > 1 && QThread::idealThreadCount() > 1) {
        second_ = new TTypesetService(this);
        // Ended before the windowing system goes, as the shared one is.
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
            delete second_;
            second_ = nullptr;
        });
        AddClient(second_);
    }
    for (std::size_t client = 0; client < clients_.size(); ++client)
        TypesetNext(client);
}

void TTaskPictureSet::EndOwnService() {
    if (!second_)
        return;
    // Later: this may run inside the answer of one of its clients.
    clients_.back()->deleteLater();
    clients_.pop_back();
    working_.pop_back();
    second_->deleteLater();
    second_ = nullptr;
}

bool TTaskPictureSet::Ready(int index) const {
    return index >= 0 && index < Count() && !images_[static_cast<std::size_t>(index)].isNull();
}

void TTaskPictureSet::TypesetNext(std::size_t client) {
    working_[client] = -1;
    if (failed_)
        return;
    while (next_ < Count() && Ready(next_))
        ++next_;
    if (next_ >= Count()) {
        if (Complete() && std::count(working_.begin(), working_.end(), -1) ==
                              static_cast<std::ptrdiff_t>(working_.size())) {
            EndOwnService();
            emit completed();
        }
        return;
    }
    working_[client] = next_++;
    TTypesetRequest request;
    request.Tex = texs_[working_[client]];
    request.PixelsPerEm = LargestPixelsPerEm;
    request.DevicePixelRatio = ratio_;
    request.FitInto = PictureRoom - QSizeF(Margin, Margin);
    request.MinScale = SmallestPixelsPerEm / LargestPixelsPerEm;
    clients_[client]->Request(request);
}

void TTaskPictureSet::Take(std::size_t client, const TTypesetFormula& formula) {
    const int index = working_[client];
    if (index < 0 || failed_)
        return;
    if (!formula.Ok() || formula.Image.isNull()) {
        failed_ = true;
        working_[client] = -1;
        EndOwnService();
        emit refused(index, RefusalWords(formula));
        return;
    }
    ++typeset_;
    Keep(index, WithMargin(formula.Image, ratio_));
    TypesetNext(client);
}

void TTaskPictureSet::Keep(int index, QImage image) {
    images_[static_cast<std::size_t>(index)] = image;
    ++ready_;
    // Written whole under another name and renamed, off this thread: a
    // copy starting meanwhile reads the old picture or the new, never half.
    QThreadPool::globalInstance()->start([image, path = CachePath(index)] {
        if (!QDir().mkpath(QFileInfo(path).path()))
            return;
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG"))
            file.commit();
    });
    emit pictureReady(index);
}

QPixmap TTaskPictureSet::Picture(int index, qreal ratio) const {
    if (!Ready(index))
        return {};
    const QImage& image = images_[static_cast<std::size_t>(index)];
    if (std::abs(ratio - ratio_) < 1e-6)
        return QPixmap::fromImage(image);
    // Another screen: the same logical size, redrawn for its pixels.
    const QSizeF size = Size(index);
    QImage scaled = image.scaled(qRound(size.width() * ratio), qRound(size.height() * ratio),
                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(scaled);
}

QSizeF TTaskPictureSet::Size(int index) const {
    return Ready(index) ? QSizeF(images_[static_cast<std::size_t>(index)].size()) / ratio_
                        : QSizeF();
}
