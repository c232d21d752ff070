// "Тренировка"'s choice among the standard set and the teacher's sets.
#include "quiz/PracticeChoice.h"
#include "quiz/PracticeFrm.h"
#include "typeset/TaskPictureSet.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString SetTitle(const TTaskSet& set) {
    if (set.IsStandard())
        return QStringLiteral("Стандартный набор");
    return QString::fromStdString(set.Title().empty() ? set.Name() : set.Title());
}

QStringList Texs(const TTaskTable& tasks) {
    QStringList texs;
    for (const TTaskRow& row : tasks.Rows())
        texs << QString::fromUtf8(row.Tex.data(), static_cast<qsizetype>(row.Tex.size()));
    return texs;
}

} // namespace

void TPracticeFrm::SetTaskSets(std::vector<std::shared_ptr<const TTaskSet>> sets) {
    sets_ = std::move(sets);
    ComboBox1->clear();
    for (const auto& set : sets_)
        ComboBox1->addItem(SetTitle(*set));
    ComboBox1->setVisible(sets_.size() > 1);
    Layout();
}

void TPracticeFrm::ChooseSet(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= sets_.size())
        return;
    ComboBox1->setCurrentIndex(index);
    const std::shared_ptr<const TTaskSet> set = sets_[static_cast<std::size_t>(index)];
    if (set->IsStandard()) {
        PractisePictures({});
        return;
    }
    TTaskPictureSet*& typeset = typeset_[set.get()];
    if (!typeset) {
        typeset = new TTaskPictureSet(Texs(set->Table()), devicePixelRatioF(), this);
        connect(typeset, &TTaskPictureSet::completed, this, [this, set, typeset] {
            // Only while the pupil still waits for this set.
            const int chosen = ComboBox1->currentIndex();
            if (chosen >= 0 && sets_[static_cast<std::size_t>(chosen)] == set &&
                &pictures_.Set() != set.get())
                PractisePictures(TTaskPictures(set, typeset));
        });
        connect(
            typeset, &TTaskPictureSet::refused, this, [this, set](int entry, const QString& why) {
                for (std::size_t i = 0; i < sets_.size(); ++i)
                    if (sets_[i] == set)
                        RefuseSet(static_cast<int>(i),
                                  QStringLiteral("строка %1: %2").arg(set->Line(entry)).arg(why));
            });
        typeset->Load();
    }
    if (typeset->Complete()) {
        PractisePictures(TTaskPictures(set, typeset));
        return;
    }
    Label2->setText(QStringLiteral("Готовлю задания…"));
    Edit1->setEnabled(false);
    Button1->setEnabled(false);
}

void TPracticeFrm::RefuseSet(int index, const QString& why) {
    const QString title = SetTitle(*sets_[static_cast<std::size_t>(index)]);
    const bool waited = ComboBox1->currentIndex() == index;
    const int current = ComboBox1->currentIndex() - (ComboBox1->currentIndex() > index ? 1 : 0);
    sets_.erase(sets_.begin() + index);
    SetTaskSets(std::move(sets_));
    ComboBox1->setCurrentIndex(waited ? 0 : current);
    ShowInformationBox(
        QStringLiteral("Набор «%1» не загружен: %2. Тренируемся на стандартном наборе.")
            .arg(title, why));
    if (waited)
        ChooseSet(0);
}

void TPracticeFrm::PractisePictures(const TTaskPictures& pictures) {
    pictures_ = pictures;
    session_.PractiseSet(pictures.Table(), pictures.Set().Name());
    ListBox1->ShowSet(pictures, session_.Progress());
    ListBox1->LoadPictures();
    Edit1->setEnabled(true);
    Button1->setEnabled(true);
    ListBox1->setCurrentRow(session_.FirstUnsolved());
    ListBox1Change(session_.FirstUnsolved());
}
