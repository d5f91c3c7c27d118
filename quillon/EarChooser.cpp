#include "EarChooser.h"
#include "QuillonNames.h"
#include "SoundModes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace tonara::quillon {

EarChooser::EarChooser(QWidget* parent) : QWidget(parent) {
    setObjectName(quillonVolume::EarChooser);
    label_ = new QLabel(this);
    label_->setObjectName(quillonVolume::EarLabel);
    list_ = new QComboBox(this);
    list_->setObjectName(quillonVolume::EarList);
    label_->setBuddy(list_);
    note_ = new QLabel(this);
    note_->setObjectName(quillonVolume::EarNote);
    note_->setWordWrap(true);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 0, 0);
    layout->addWidget(list_, 0, 1);
    layout->addWidget(note_, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    // Until the hand-over is read, as for a mode Quillon makes itself.
    offer(soundModePlaying(ContinuousTone::SoundWinmmRND).code, false);
    connect(list_, &QComboBox::activated, this, &EarChooser::earChosen);
}

void EarChooser::offer(const QString& mode, bool dutch) {
    label_->setText(dutch ? "&Oor:" : "&Ear:");
    list_->setAccessibleName(dutch ? "Oor" : "Ear");
    ears_ = earsOfMode(mode);
    list_->clear();
    for (const Ear ear : ears_) list_->addItem(earName(ear, dutch));
    list_->setEnabled(ears_.size() > 1);
    note_->setText(earLimitReason(mode, dutch));
    note_->setVisible(!note_->text().isEmpty());
}

Ear EarChooser::ear() const {
    const int chosen = list_->currentIndex();
    return chosen >= 0 && chosen < ears_.size() ? ears_[chosen] : Ear::Both;
}

} // namespace tonara::quillon
