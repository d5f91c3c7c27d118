#include "WebLinks.h"

namespace tonara {

namespace {
// Contact logs the donation line too; the log's readers expect it so.
constexpr WebLink kLinks[] = {
    {form1::webpage, "Web page", 32, "> Visiting site", ""},
    {form1::donate, "Donate", 10, "> Visiting donation page", "/donate"},
    {form1::contact, "Contact", 9, "> Visiting donation page", "/contact-us"},
};
} // namespace

std::span<const WebLink> webLinks() { return kLinks; }

} // namespace tonara
