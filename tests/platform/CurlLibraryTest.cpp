// libcurl opened by name at the first transfer, and what is said when it cannot be.
#include "CurlLibrary.h"

#include <gtest/gtest.h>

namespace tonara::test {

TEST(CurlLibrary, TheSystemsLibraryOpensAndAnyOtherIsNamedWithWhatIsWrong) {
    struct Case {
        const char* soname;
        bool opens;
        QString failureStart;
    };
    const Case cases[] = {
        {"libcurl.so.4", true, ""},
        {"libtonara-no-such-curl.so.1", false, "libtonara-no-such-curl.so.1 could not be loaded: "},
        {"libm.so.6", false, "libm.so.6 has no curl_global_init"},
    };
    for (const Case& c : cases) {
        const CurlLibrary library = openCurlLibrary(c.soname);
        EXPECT_EQ(library.functions.has_value(), c.opens) << c.soname;
        EXPECT_EQ(library.failure.isEmpty(), c.opens) << c.soname << ": " << library.failure.toStdString();
        EXPECT_EQ(library.failure.left(c.failureStart.size()).toStdString(), c.failureStart.toStdString()) << c.soname;
        if (library.functions) {
            CURL* easy = library.functions->easy_init();
            ASSERT_NE(easy, nullptr);
            EXPECT_EQ(library.functions->easy_setopt(easy, CURLOPT_URL, "http://127.0.0.1:9/"), CURLE_OK);
            library.functions->easy_cleanup(easy);
        }
    }
    EXPECT_TRUE(curlLibrary().functions.has_value()) << curlLibrary().failure.toStdString();
}

} // namespace tonara::test
