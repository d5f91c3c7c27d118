#include "NumericKeyFilter.h"
#include "NumberText.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

namespace tonara {

namespace {

constexpr QChar kBackspace(8);

// Keys that move or copy text without adding any pass untouched; so does
// Enter, which a line edit takes as its own "done" (returnPressed).
bool addsNoText(QKeyEvent* key) {
    return key->text().isEmpty() || key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll) ||
           key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

class NumericKeyFilter : public QObject {
public:
    explicit NumericKeyFilter(QLineEdit* box) : QObject(box), box_(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (addsNoText(key)) return false;
        return !numericKeyPasses(box_->text(), key->text()); // true discards the key
    }

private:
    QLineEdit* box_;
};

} // namespace

bool numericKeyPasses(const QString& boxText, const QString& typed) {
    if (typed == QString(kBackspace)) return true;
    return readsAsNumber(boxText + typed);
}

void installNumericKeyFilter(QLineEdit* box) {
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
    box->installEventFilter(new NumericKeyFilter(box));
}

} // namespace tonara
