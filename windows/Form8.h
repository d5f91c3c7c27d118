#pragma once
// The splash window shown while the program starts.

#include <QLabel>
#include <QWidget>

namespace tonara {

class Form8 : public QWidget {
    Q_OBJECT
public:
    explicit Form8(QWidget* parent = nullptr);
    // The status line ("Windows check...", "Reading settings...").
    void setStatus(const QString& text);
    QString status() const;

private:
    QLabel* status_;
};

} // namespace tonara
