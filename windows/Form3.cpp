#include "Form3.h"

#include "ErrorLocations.h"
#include "FormNames.h"
#include "Platform.h"
#include "TextFile.h"
#include "Trap.h"
#include "WebAddresses.h"

#include <QStringDecoder>
#include <QVBoxLayout>

namespace tonara {

namespace {

// Shows the page's own text only: nothing is read from disk or the network
// on the page's behalf (images, style sheets).
class NewsBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

QString decodePage(const QByteArray& bytes) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (decoder.isValid()) {
        const QString text = decoder.decode(bytes);
        if (!decoder.hasError()) return text;
    }
    // A page in the Windows code page, declared in a way not known here or not at all.
    return decodeAnsi(bytes);
}

} // namespace

Form3::Form3(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form3");
    webBrowser1_ = new NewsBrowser(this);
    webBrowser1_->setObjectName(form3::WebBrowser1);
    webBrowser1_->setAccessibleName("Online news");
    webBrowser1_->setOpenLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(webBrowser1_);
    resize(600, 450); // within a 1280 x 1024 screen at scale 2, frame included
    connect(webBrowser1_, &QTextBrowser::anchorClicked, this, &Form3::linkClicked);
    loadHandler();
}

void Form3::loadHandler() {
    trapped(mainWindow_, errol::PitchHelpLoad, [&] {
        if (loadGuard_ == 1) return;
        loadGuard_ = 1;
        if (mainWindow_.state().lang == "nl") setWindowTitle("Tonara online nieuws (engels)");
        // The design gives no English caption; a screen reader still needs a name.
        setAccessibleName(windowTitle().isEmpty() ? QStringLiteral("Tonara online news") : windowTitle());
    });
}

void Form3::navigate(const QString& address) {
    page_ = QUrl(address);
    const std::optional<QByteArray> page = platform().download(address);
    if (page) webBrowser1_->setHtml(decodePage(*page));
    else webBrowser1_->setPlainText("The news page could not be loaded.");
}

void Form3::linkClicked(const QUrl& link) {
    if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
        webBrowser1_->scrollToAnchor(link.fragment());
        return;
    }
    const QString target = page_.resolved(link).toString(QUrl::FullyEncoded);
    if (isWebAddress(target)) platform().openUrl(target);
}

} // namespace tonara
