// The task pictures of a teacher's task set, typeset from their TeX as the
// set loads: read from the user's cache folder when they were made before
// (at once), the others typeset in the set's order on the typesetting
// service's thread, and on a second thread of their own while there are
// several to make and the machine has the cores, so the user interface
// never waits for MathJax. They
// look like the committed pictures: black, set at the largest size from 24
// down to 18 px per em that fits the task box, a 3-pixel margin round them,
// the same macros (\tg, \arctg). A TeX that does not typeset stops the
// set's pictures there: the set cannot be played.
#pragma once

#include "typeset/MathTypesetter.h"

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

class TTypesetClient;
class TTypesetService;

class TTaskPictureSet : public QObject {
    Q_OBJECT
public:
    // The task box's room for a picture, in logical pixels.
    static constexpr QSizeF PictureRoom{393, 105};
    static constexpr int Margin = 3;
    static constexpr qreal LargestPixelsPerEm = 24;
    static constexpr qreal SmallestPixelsPerEm = 18;

    // One picture per TeX text, drawn for 'ratio' (the screen's density).
    // Asks 'service' alone, or the shared one and a service of its own
    // when none is given.
    TTaskPictureSet(QStringList texs, qreal ratio, QObject* parent = nullptr,
                    TTypesetService* service = nullptr);

    // Takes what the cache holds now, then typesets the rest, one after the
    // other; pictureReady for each (those from the cache before Load
    // returns), then completed, or refused at the first that fails.
    void Load();

    int Count() const { return static_cast<int>(images_.size()); }
    bool Ready(int index) const;
    bool Complete() const { return ready_ == Count(); }
    bool Failed() const { return failed_; }
    // Pictures typeset by this set (not taken from the cache).
    int Typeset() const { return typeset_; }

    // The picture at 'ratio' (its own, or redrawn from it for another
    // screen); an empty one until it is ready.
    QPixmap Picture(int index, qreal ratio) const;
    // Its size in logical pixels.
    QSizeF Size(int index) const;

    // $XDG_CACHE_HOME/Formulon/pictures (~/.cache when it is not set).
    static QString CacheFolder();

signals:
    void pictureReady(int index);
    void completed();
    // 'why' in Russian words, for the TeX at 'index'.
    void refused(int index, const QString& why);

private:
    QString CachePath(int index) const;
    bool TakeFromCache(int index);
    void AddClient(TTypesetService* service);
    void TypesetNext(std::size_t client);
    void Take(std::size_t client, const TTypesetFormula& formula);
    void Keep(int index, QImage image);
    // The second service ends once its work is done (its JavaScript
    // engine is large).
    void EndOwnService();

    QStringList texs_;
    qreal ratio_;
    std::vector<QImage> images_;
    int ready_ = 0;
    int typeset_ = 0;
    int next_ = 0; // the next picture to typeset, unless ready
    bool failed_ = false;
    bool ownService_;
    TTypesetService* second_ = nullptr;
    std::vector<TTypesetClient*> clients_;
    std::vector<int> working_; // each client's picture being typeset, or -1
};
