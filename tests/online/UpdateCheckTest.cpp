// The update check on a fake platform and a fake main window.
#include "Endpoints.h"
#include "OnlineRig.h"
#include "Program.h"

namespace tonara::test {

namespace {

QByteArray lines(int count, const QByteArray& first = "237") {
    QByteArray bytes = first + "\r\n";
    for (int n = 2; n <= count; ++n) bytes += "line " + QByteArray::number(n) + "\r\n";
    return bytes;
}

} // namespace

TEST(UpdateCheck, ANewerVersionFillsTheWindowAndWaitsUntilItIsHidden) {
    OnlineRig rig;
    rig.env.fake.webFiles[updateFileAddress()] = "237\r\nhttp://host/get, now\r\n";
    rig.env.fake.at(500, [&] { rig.main.hideForm(Form::Form7); });
    Program program(rig.main);
    program.updatebtn1 = "Caption";
    program.langupdate = "Message";
    program.updatebtn2 = "Yes";
    program.updatebtn3 = "No";
    program.updatevertxt = "Current: ";
    program.updatenewvertxt = "New: ";
    program.UpdateCheck();

    ASSERT_EQ(rig.main.updateOffers.size(), 1u);
    const UpdateOffer& offer = rig.main.updateOffers[0];
    EXPECT_EQ(offer.caption, "Caption");
    EXPECT_EQ(offer.message, "Message");
    EXPECT_EQ(offer.updateButton, "Yes");
    EXPECT_EQ(offer.dontUpdateButton, "No");
    EXPECT_EQ(offer.lines, (QStringList{"Current: 2.3.6", "New: 2.3.7", "Link: http://host/get, now"}));
    EXPECT_EQ(offer.link, "http://host/get, now");
    EXPECT_EQ(rig.main.formEvents, (QStringList{"show Form7", "hide Form7", "unload Form7"}));
    EXPECT_GE(rig.env.fake.clockMs, 500) << "start-up waited while the window was open";
    EXPECT_FALSE(QFile::exists(rig.env.temp("updatetonara.txt")));
    EXPECT_TRUE(rig.activityLog().isEmpty());
    ASSERT_EQ(rig.env.fake.count("download"), 1);
    EXPECT_EQ(rig.env.fake.last("download")->text,
              "https://update.tonara.example.invalid/user_files/2013_10/511833/updatetonara.txt");
}

TEST(UpdateCheck, WithoutLanguageTextsTheListStartsWithTheVersions) {
    OnlineRig rig;
    rig.env.fake.webFiles[updateFileAddress()] = "1000";
    rig.env.fake.at(0, [&] { rig.main.hideForm(Form::Form7); });
    Program(rig.main).UpdateCheck();
    ASSERT_EQ(rig.main.updateOffers.size(), 1u);
    EXPECT_EQ(rig.main.updateOffers[0].lines, (QStringList{"2.3.6", "1.0.0", "Link: "}));
    EXPECT_TRUE(rig.main.updateOffers[0].caption.isEmpty());
}

TEST(UpdateCheck, WhatEachAnswerLeadsTo) {
    struct Case {
        const char* what;
        std::optional<QByteArray> file; // nothing: the download fails
        bool offered;
        bool updateError;
    };
    const Case cases[] = {
        {"the same version", QByteArray("236\r\nhttp://host/\r\n"), false, false},
        {"a dotted version", QByteArray("2.3.7\r\nhttp://host/\r\n"), false, false},
        {"an empty file", QByteArray(), false, false},
        {"eight lines", lines(8), true, false},
        {"nine lines", lines(9), false, true},
        {"a failed download", std::nullopt, false, true},
    };
    for (const Case& c : cases) {
        OnlineRig rig;
        if (c.file) rig.env.fake.webFiles[updateFileAddress()] = *c.file;
        rig.env.fake.at(0, [&] { rig.main.hideForm(Form::Form7); });
        Program(rig.main).UpdateCheck();
        EXPECT_EQ(rig.main.updateOffers.size(), c.offered ? 1u : 0u) << c.what;
        EXPECT_EQ(rig.main.formEvents.contains("show Form7"), c.offered) << c.what;
        const QStringList expectedLog = c.updateError ? QStringList{"", "", "", "> Update error"} : QStringList();
        EXPECT_EQ(rig.activityLog(), expectedLog) << c.what;
        EXPECT_FALSE(QFile::exists(rig.env.temp("updatetonara.txt"))) << c.what;
    }
}

} // namespace tonara::test
