#include "WebLinks.h"

namespace tonara {

namespace {
// Contact logs the donation line too; the log's readers expect it so.
constexpr WebLink kLinks[] = {
    {"webpage", "Web page", 32, "> Visiting site", ""},
    {"donate", "Donate", 10, "> Visiting donation page", "/donate"},
    {"contact", "Contact", 9, "> Visiting donation page", "/contact-us"},
};
} // namespace

std::span<const WebLink> webLinks() { return kLinks; }

} // namespace tonara
