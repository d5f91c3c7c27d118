// Downloads and uploads through libcurl (opened at the first), blocking the
// calling thread. The wait watches the termination pipe too: a termination
// request abandons the transfer and is served at once.
#include "WebTransfer.h"
#include "CurlLibrary.h"
#include "TerminationRequests.h"

#include <QUrl>
#include <algorithm>
#include <cstring>

namespace tonara {

namespace {

// The start-up waits for two downloads, one after the other: together they
// stay under five seconds however slow or silent the server. A late answer
// is a failed one.
constexpr long kDownloadConnectMs = 2000;
constexpr long kDownloadTimeoutMs = 2200;
// The uploader runs on its own, so it may wait longer than a start-up can.
constexpr long kUploadConnectMs = 3000;
constexpr long kUploadTimeoutMs = 30000;
// How long one wait for the transfer lasts at most before curl is asked again.
constexpr int kLongestPollMs = 100;
constexpr long kMostRedirects = 5;
// Far above anything the maker serves; a server sending more is not trusted.
constexpr qsizetype kLargestDownload = 16 * 1024 * 1024;

// Names under .invalid never resolve (RFC 6761): answer at once instead of
// asking a resolver that may be slow to say so while the program starts.
bool neverResolves(const QUrl& url) {
    const QString host = url.host();
    return host == "invalid" || host.endsWith(".invalid");
}

// Runs the transfer on a multi handle so that the wait can watch the
// termination pipe beside the transfer's own sockets.
CURLcode performWatchingTermination(const CurlFunctions& curl, CURL* easy) {
    CURLM* multi = curl.multi_init();
    if (!multi) return CURLE_OUT_OF_MEMORY;
    CURLcode result = CURLE_OK;
    bool abandoned = false;
    if (curl.multi_add_handle(multi, easy) != CURLM_OK) result = CURLE_FAILED_INIT;
    for (int running = 1; result == CURLE_OK && running > 0;) {
        if (curl.multi_perform(multi, &running) != CURLM_OK) result = CURLE_FAILED_INIT;
        if (result != CURLE_OK || running == 0) break;
        curl_waitfd termination{terminationPipeHere(), CURL_WAIT_POLLIN, 0};
        const unsigned extra = termination.fd >= 0 ? 1 : 0;
        if (curl.multi_poll(multi, extra ? &termination : nullptr, extra, kLongestPollMs, nullptr) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
        } else if (termination.revents & CURL_WAIT_POLLIN) {
            abandoned = true;
            result = CURLE_ABORTED_BY_CALLBACK;
        }
    }
    int left = 0;
    while (CURLMsg* message = curl.multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy && result == CURLE_OK)
            result = message->data.result;
    curl.multi_remove_handle(multi, easy);
    curl.multi_cleanup(multi);
    // Given up before the request is served: the shut-down it runs ends the program.
    if (abandoned) serveTerminationRequest();
    return result;
}

// One easy handle with what every transfer shares.
class Transfer {
public:
    Transfer(const CurlFunctions& curl, const QUrl& url, const char* protocols, long connectMs, long timeoutMs)
        : curl_(curl), handle_(curl_.easy_init()) {
        if (!handle_) return;
        address_ = url.toEncoded();
        curl_.easy_setopt(handle_, CURLOPT_URL, address_.constData());
        curl_.easy_setopt(handle_, CURLOPT_PROTOCOLS_STR, protocols);
        curl_.easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_.easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
        curl_.easy_setopt(handle_, CURLOPT_TIMEOUT_MS, timeoutMs);
        curl_.easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
        curl_.easy_setopt(handle_, CURLOPT_USERAGENT, "Tonara/2.3.6");
        curl_.easy_setopt(handle_, CURLOPT_ERRORBUFFER, error_);
        error_[0] = '\0';
    }
    ~Transfer() {
        if (handle_) curl_.easy_cleanup(handle_);
    }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    CURL* handle() const { return handle_; }

    CURLcode perform() {
        result_ = handle_ ? performWatchingTermination(curl_, handle_) : CURLE_FAILED_INIT;
        return result_;
    }
    long responseCode() const {
        long code = 0;
        if (handle_) curl_.easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }
    QString failure() const {
        return QString::fromUtf8(error_[0] ? error_ : curl_.easy_strerror(result_));
    }

private:
    const CurlFunctions& curl_;
    CURL* handle_ = nullptr;
    QByteArray address_;
    CURLcode result_ = CURLE_OK;
    char error_[CURL_ERROR_SIZE];
};

size_t collectBody(char* data, size_t size, size_t count, void* target) {
    auto* body = static_cast<QByteArray*>(target);
    const size_t bytes = size * count;
    if (body->size() + qsizetype(bytes) > kLargestDownload) return 0; // ends the transfer as a write error
    body->append(data, qsizetype(bytes));
    return bytes;
}

size_t discardBody(char*, size_t size, size_t count, void*) { return size * count; }

struct Outgoing {
    const QByteArray* data;
    qsizetype sent = 0;
};

size_t supplyBody(char* buffer, size_t size, size_t count, void* source) {
    auto* out = static_cast<Outgoing*>(source);
    const size_t bytes = std::min(size * count, size_t(out->data->size() - out->sent));
    std::memcpy(buffer, out->data->constData() + out->sent, bytes);
    out->sent += qsizetype(bytes);
    return bytes;
}

} // namespace

std::optional<QByteArray> webDownload(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || neverResolves(url)) return std::nullopt;
    const CurlLibrary& library = curlLibrary();
    if (!library.functions) return std::nullopt;
    const CurlFunctions& curl = *library.functions;
    Transfer transfer(curl, url, "http,https", kDownloadConnectMs, kDownloadTimeoutMs);
    QByteArray body;
    curl.easy_setopt(transfer.handle(), CURLOPT_FOLLOWLOCATION, 1L);
    curl.easy_setopt(transfer.handle(), CURLOPT_MAXREDIRS, kMostRedirects);
    curl.easy_setopt(transfer.handle(), CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kLargestDownload));
    curl.easy_setopt(transfer.handle(), CURLOPT_WRITEFUNCTION, collectBody);
    curl.easy_setopt(transfer.handle(), CURLOPT_WRITEDATA, &body);
    // A body cut short ends in an error, so only a whole file gets here.
    if (transfer.perform() != CURLE_OK || transfer.responseCode() != 200) return std::nullopt;
    return body;
}

QString webUpload(const QByteArray& data, const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid()) return "not a valid address: " + address;
    if (neverResolves(url)) return "the host " + url.host() + " does not exist";
    const CurlLibrary& library = curlLibrary();
    if (!library.functions) return library.failure;
    const CurlFunctions& curl = *library.functions;
    Transfer transfer(curl, url, "ftp,ftps,http,https", kUploadConnectMs, kUploadTimeoutMs);
    Outgoing out{&data};
    curl_slist* headers = curl.slist_append(nullptr, "Expect:"); // send at once, without asking first
    curl.easy_setopt(transfer.handle(), CURLOPT_UPLOAD, 1L);
    curl.easy_setopt(transfer.handle(), CURLOPT_READFUNCTION, supplyBody);
    curl.easy_setopt(transfer.handle(), CURLOPT_READDATA, &out);
    curl.easy_setopt(transfer.handle(), CURLOPT_INFILESIZE_LARGE, curl_off_t(data.size()));
    curl.easy_setopt(transfer.handle(), CURLOPT_HTTPHEADER, headers);
    curl.easy_setopt(transfer.handle(), CURLOPT_WRITEFUNCTION, discardBody); // the server's answer is not ours to print
    const CURLcode result = transfer.perform();
    curl.slist_free_all(headers);
    if (result != CURLE_OK) return transfer.failure();
    const bool overHttp = url.scheme() == "http" || url.scheme() == "https";
    const long code = transfer.responseCode();
    if (overHttp && (code < 200 || code > 299)) return QString("the server answered %1").arg(code);
    return {};
}

} // namespace tonara
