#pragma once
// Downloads and uploads through libcurl, blocking the calling thread; a
// termination request that arrives meanwhile abandons them and is served.

#include <QByteArray>
#include <QString>
#include <optional>

namespace tonara {

// The body of a 200 answer over http or https; nothing on any failure.
std::optional<QByteArray> webDownload(const QString& address);
// Sends data to an ftp, ftps, http or https address: "" when it arrived, else why not.
QString webUpload(const QByteArray& data, const QString& address);

} // namespace tonara
