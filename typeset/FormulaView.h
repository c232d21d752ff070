// A typeset formula in a box of its own, for a window that shows a formula
// without ever waiting for it. The formula is typeset on the typesetter's
// thread (TypesetService.h) and appears when it is ready; until then, or
// when it cannot be typeset, the box says so in words. A formula wider or taller than the box is
// drawn smaller, down to MinScale of its size, and scrolls beyond that. It is drawn again for a
// screen of another density.
#pragma once

#include "typeset/MathTypesetter.h"

#include <QScrollArea>
#include <QString>

class QLabel;
class TTypesetClient;

class TFormulaView : public QScrollArea {
    Q_OBJECT
public:
    // Below half its size a formula is hard to read: it scrolls instead.
    static constexpr qreal MinScale = 0.5;

    enum class TState {
        Empty,       // nothing asked for
        Typesetting, // asked for, not ready yet
        Shown,
        Failed, // FailureMessage says why
    };

    explicit TFormulaView(QWidget* parent = nullptr);

    // Typesets 'tex' at pixelsPerEm (logical pixels per em); what was shown
    // goes at once. delayMs: wait that long for a newer formula first, as
    // while the pupil types. Returns at once.
    void ShowTex(const QString& tex, qreal pixelsPerEm, int delayMs = 0);
    // Shows nothing, and takes back a formula not yet ready.
    void Clear();
    // What a screen reader says of the formula, in words: the accessible
    // description of the box and of its picture.
    void SetSpokenForm(const QString& words);

    TState State() const { return state_; }
    // Why the last formula could not be shown, in words for the pupil:
    // "Картинку формулы построить не удалось: формула слишком длинная".
    QString FailureMessage() const { return failure_; }
    // The picture's share of its own size on screen, below 1 when smaller.
    qreal Scale() const { return scale_; }
    // The label that shows the picture, or "Формула набирается…" until then,
    // or FailureMessage().
    QLabel* Picture() const { return picture_; }

signals:
    // The formula asked for last is shown, or failed: State() says which.
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Request(int delayMs);
    void Show(const TTypesetFormula& formula);
    void ShowWords(const QString& words);
    bool Drawing() const; // a formula is shown or on its way

    TTypesetClient* client_;
    QLabel* picture_;
    QString tex_;
    qreal pixelsPerEm_ = 0;
    qreal ratio_ = 0; // the screen density asked for
    QSize box_;       // and the room there was
    TState state_ = TState::Empty;
    QString failure_;
    qreal scale_ = 1;
};
