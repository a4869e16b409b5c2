// HTTP requests to the address book's server through libcurl. User name and
// password come from ~/.netrc (or $NETRC), read by libcurl itself: they never
// pass through this program's strings, messages or logs.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace carddav {

struct HttpResponse {
    long status = 0;       // 0: no answer at all (see `failure`)
    std::string failure;   // why there was no answer: refused, timed out, ...
    std::string etag;      // the ETag header, as sent
    std::string body;
};

struct HttpOptions {
    std::string caFile;    // certificates to trust besides the system's; empty: the system's only
    long timeoutSeconds = 60;
};

class HttpClient {
public:
    explicit HttpClient(HttpOptions options);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // One request on the kept connection; `headers` as "Name: value".
    HttpResponse Send(const std::string& method, const std::string& url, const std::vector<std::string>& headers,
                      const std::string& body = {});

    // Called with each answer before the caller sees it: a seam for tests
    // that change the server meanwhile or stop a sync at a given point (an
    // exception thrown here leaves the answer unseen, as a lost connection).
    using RequestHook = std::function<void(const std::string& method, const std::string& url, long status)>;
    void SetRequestHook(RequestHook hook) { answered = std::move(hook); }

    // Requests sent so far, by method: what a sync cost.
    const std::map<std::string, int>& Counts() const { return counts; }

private:
    void* curl;
    HttpOptions options;
    std::map<std::string, int> counts;
    RequestHook answered;
};

// The URL without user name, password, query or fragment: fit for a message.
std::string DisplayUrl(const std::string& url);
// `reference` (an href: absolute, or a path) resolved against `base`.
std::string ResolveUrl(const std::string& base, const std::string& reference);
// The path of a URL, as sent: how hrefs are compared.
std::string UrlPath(const std::string& url);

} // namespace carddav
