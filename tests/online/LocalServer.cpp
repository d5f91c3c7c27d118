#include "LocalServer.h"

#include <QDeadlineTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tonara::test {

namespace {
constexpr int kStartMs = 30000; // generous: the machine may be busy building
const char* const kFtpUser = "tonara";
const char* const kFtpPassword = "secret";
} // namespace

LocalServer::LocalServer(Kind kind) : kind_(kind) {
    // Loopback transfers must go straight to the server, never to a proxy.
    for (const char* name : {"http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "HTTPS_PROXY", "FTP_PROXY",
                             "ALL_PROXY"})
        qunsetenv(name);
    const QString folder = QStringLiteral(TONARA_TEST_SERVERS);
    QStringList arguments;
    if (kind == Kind::Web) arguments << folder + "/web_server.py" << root_.path();
    else arguments << folder + "/ftp_server.py" << root_.path() << kFtpUser << kFtpPassword;
    process_.start("/usr/bin/python3", arguments);

    QByteArray output;
    const QDeadlineTimer deadline(kStartMs);
    while (!output.contains('\n') && !deadline.hasExpired() && process_.state() != QProcess::NotRunning)
        if (process_.waitForReadyRead(int(deadline.remainingTime()))) output += process_.readAllStandardOutput();
    if (output.startsWith("PORT ")) port_ = output.mid(5).trimmed().toInt();
    if (port_ == 0)
        failure_ = "the test server did not start: " + QString::fromLocal8Bit(output + process_.readAllStandardError());
}

LocalServer::~LocalServer() {
    process_.kill();
    process_.waitForFinished(kStartMs);
}

QString LocalServer::address() const {
    if (kind_ == Kind::Web) return QString("http://127.0.0.1:%1").arg(port_);
    return QString("ftp://%1:%2@127.0.0.1:%3").arg(kFtpUser, kFtpPassword).arg(port_);
}

QString LocalServer::file(const QString& name) const { return root_.filePath(name); }

ClosedPort::ClosedPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (socket_ >= 0 && ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port_ = ntohs(address.sin_port);
}

ClosedPort::~ClosedPort() {
    if (socket_ >= 0) ::close(socket_);
}

} // namespace tonara::test
