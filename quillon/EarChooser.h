#pragma once
// The volume window's "Ear:" list, and why it offers both ears only when the
// sound mode's tone programs cannot play in one.

#include "Ear.h"

#include <QWidget>

class QComboBox;
class QLabel;

namespace tonara::quillon {

class EarChooser : public QWidget {
    Q_OBJECT
public:
    explicit EarChooser(QWidget* parent);
    // The ears the mode can test in, named in the language.
    void offer(const QString& mode, bool dutch);
    Ear ear() const;

signals:
    void earChosen();

private:
    QLabel* label_;
    QComboBox* list_;
    QLabel* note_;
    QList<Ear> ears_{Ear::Both};
};

} // namespace tonara::quillon
