// The update window and the news window, as real widgets on a fake platform.
#include "Form3.h"
#include "Form7.h"
#include "OnlineRig.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>

namespace tonara::test {

TEST(UpdateWindow, FillingItSetsTheTextsButKeepsDesignTextsForEmptyOnes) {
    OnlineRig rig;
    Form7 window(rig.main);
    window.fill(UpdateOffer{"Update gevonden", "", "Bijwerken", "", {"2.3.6", "2.3.7", "Link: http://x/"}, "http://x/"});
    EXPECT_EQ(window.windowTitle(), "Update gevonden");
    EXPECT_EQ(window.accessibleName(), "Update gevonden");
    EXPECT_EQ(control<QLabel>(window, form7::Label1).text(), "An update is found! Would you like to download the update?");
    EXPECT_EQ(control<QPushButton>(window, form7::Command1).text(), "Bijwerken");
    EXPECT_EQ(control<QPushButton>(window, form7::Command2).text(), "Don't update");
    auto* list = window.findChild<QListWidget*>(form7::List1);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), "Link: http://x/");
    EXPECT_EQ(window.Link, "http://x/");
}

// A refused link is said in a box, then the start-up goes on as after "Don't update".
TEST(UpdateWindow, UpdateOpensOnlyAWebAddressAndEndsTheProgramTheRestIsRefusedInWords) {
    struct Case {
        QString link;
        bool opened;
    };
    const QString marker = QDir::tempPath() + "/tonara-update-link-ran";
    const Case cases[] = {{"https://tonara.example/download", true},
                          {"http://127.0.0.1:8080/get?v=237", true},
                          {"file:///etc/passwd", false},
                          {"$(touch " + marker + ")", false},
                          {"; touch " + marker, false},
                          {"javascript:alert(1)", false},
                          {"http://", false},
                          {"http://host/a b", false},
                          {"", false}};
    for (const Case& c : cases) {
        OnlineRig rig;
        Form7 window(rig.main);
        window.fill(UpdateOffer{"Update gevonden", "", "", "", {}, c.link});
        window.show();
        bool ended = false;
        try {
            window.updateClicked();
        } catch (const ProgramEnded& end) {
            ended = true;
            EXPECT_EQ(end.exitCode, 0);
        }
        EXPECT_EQ(rig.env.fake.count("start"), 0) << "nothing is run: " << c.link.toStdString();
        EXPECT_EQ(ended, c.opened) << c.link.toStdString();
        if (c.opened) {
            ASSERT_EQ(rig.env.fake.count("url"), 1) << c.link.toStdString();
            EXPECT_EQ(rig.env.fake.last("url")->text, c.link);
            EXPECT_TRUE(rig.activityLog().isEmpty());
            EXPECT_EQ(rig.env.fake.count("message"), 0);
        } else {
            EXPECT_EQ(rig.env.fake.count("url"), 0) << c.link.toStdString();
            EXPECT_EQ(rig.activityLog().value(3), "> Update error") << c.link.toStdString();
            const PlatformRecord* message = rig.env.fake.last("message");
            ASSERT_NE(message, nullptr) << c.link.toStdString();
            EXPECT_EQ(message->text, "This link cannot be opened: " + c.link);
            EXPECT_EQ(message->title, "Update gevonden");
            EXPECT_EQ(message->icon, MessageIcon::Exclamation);
            EXPECT_FALSE(window.isVisible()) << "the start-up's wait ends";
        }
    }
    EXPECT_FALSE(QFile::exists(marker));
}

TEST(UpdateWindow, DontUpdateHidesIt) {
    OnlineRig rig;
    Form7 window(rig.main);
    window.show();
    control<QPushButton>(window, form7::Command2).click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(rig.env.fake.count("end"), 0);
}

TEST(NewsWindow, ShowsThePageAndTheDutchCaption) {
    for (const char* lang : {"en", "nl"}) {
        OnlineRig rig;
        rig.main.vars.lang = lang;
        rig.env.fake.webFiles["http://info.example/information.html"] =
            "<html><body><h1>Nieuws</h1><script>document.write('scripted')</script></body></html>";
        Form3 news(rig.main);
        news.navigate("http://info.example/information.html");
        const QString shown = news.webBrowser1()->toPlainText();
        EXPECT_TRUE(shown.contains("Nieuws")) << shown.toStdString();
        EXPECT_FALSE(shown.contains("scripted")) << "scripts never run";
        EXPECT_EQ(news.windowTitle(), QString(lang) == "nl" ? "Tonara online nieuws (engels)" : "");
        EXPECT_EQ(news.accessibleName(), QString(lang) == "nl" ? news.windowTitle() : "Tonara online news");
    }
}

TEST(NewsWindow, ThePageIsReadInItsOwnEncoding) {
    const QString expected = QString::fromUtf8("Nieuws \xc3\xa9\xc3\xa9n \xe2\x82\xac");
    for (const QByteArray& page :
         {QByteArray("<html><head><meta charset=\"utf-8\"></head><body>Nieuws \xc3\xa9\xc3\xa9n \xe2\x82\xac</body></html>"),
          QByteArray("<html><body>Nieuws \xc3\xa9\xc3\xa9n \xe2\x82\xac</body></html>"),
          QByteArray("<html><head><meta charset=\"windows-1252\"></head><body>Nieuws \xe9\xe9n \x80</body></html>"),
          QByteArray("<html><body>Nieuws \xe9\xe9n \x80</body></html>")}) {
        OnlineRig rig;
        rig.env.fake.webFiles["http://info.example/information.html"] = page;
        Form3 news(rig.main);
        news.navigate("http://info.example/information.html");
        EXPECT_EQ(news.webBrowser1()->toPlainText(), expected) << page.toStdString();
    }
}

TEST(NewsWindow, APageThatCannotBeFetchedSaysSo) {
    OnlineRig rig;
    Form3 news(rig.main);
    news.navigate("http://info.example/information.html");
    EXPECT_EQ(news.webBrowser1()->toPlainText(), "The news page could not be loaded.");
}

TEST(NewsWindow, LinksOpenInTheBrowserOnlyAsWebAddresses) {
    struct Case {
        const char* href;
        const char* opened; // nullptr: nothing opened
    };
    const Case cases[] = {{"https://tonara.example/donate", "https://tonara.example/donate"},
                          {"/contact-us", "http://info.example/contact-us"},
                          {"more.html?a=1", "http://info.example/news/more.html?a=1"},
                          {"file:///etc/passwd", nullptr},
                          {"javascript:alert(1)", nullptr},
                          {"mailto:someone@example.org", nullptr},
                          {"#top", nullptr}};
    for (const Case& c : cases) {
        OnlineRig rig;
        Form3 news(rig.main);
        news.navigate("http://info.example/news/information.html");
        news.linkClicked(QUrl(c.href));
        EXPECT_EQ(rig.env.fake.count("url"), c.opened ? 1 : 0) << c.href;
        if (c.opened && rig.env.fake.last("url")) {
            EXPECT_EQ(rig.env.fake.last("url")->text, c.opened) << c.href;
        }
    }
}

TEST(NewsWindow, ThePageCannotPullInLocalFiles) {
    OnlineRig rig;
    writeBytes(rig.env.temp("private.txt"), "private");
    Form3 news(rig.main);
    QTextBrowser* browser = news.webBrowser1();
    browser->setSearchPaths({rig.env.temp()});
    for (const QUrl& url : {QUrl::fromLocalFile(rig.env.temp("private.txt")), QUrl("private.txt")})
        EXPECT_TRUE(browser->loadResource(QTextDocument::ImageResource, url).isNull()) << url.toString().toStdString();
}

} // namespace tonara::test
