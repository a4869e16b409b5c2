#include "sync/Http.h"

#include <curl/curl.h>

#include <cstdlib>
#include <memory>
#include <strings.h>

namespace carddav {

namespace {

size_t AppendBody(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

size_t TakeEtag(char* data, size_t size, size_t count, void* target)
{
    const std::string line(data, size * count);
    constexpr std::string_view name = "etag:";
    if (line.size() > name.size() && strncasecmp(line.c_str(), name.data(), name.size()) == 0) {
        std::string value = line.substr(name.size());
        const auto first = value.find_first_not_of(" \t");
        const auto last = value.find_last_not_of(" \t\r\n");
        *static_cast<std::string*>(target) = first == std::string::npos ? "" : value.substr(first, last - first + 1);
    }
    return size * count;
}

struct UrlHandle {
    CURLU* handle = curl_url();
    ~UrlHandle() { curl_url_cleanup(handle); }

    std::string Part(CURLUPart part) const
    {
        char* text = nullptr;
        if (curl_url_get(handle, part, &text, 0) != CURLUE_OK)
            return {};
        std::string value = text;
        curl_free(text);
        return value;
    }
};

} // namespace

HttpClient::HttpClient(HttpOptions options) : curl(nullptr), options(std::move(options))
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (initialised)
        curl = curl_easy_init();
}

HttpClient::~HttpClient() { curl_easy_cleanup(static_cast<CURL*>(curl)); }

HttpResponse HttpClient::Send(const std::string& method, const std::string& url,
                              const std::vector<std::string>& headers, const std::string& body)
{
    ++counts[method];
    HttpResponse response;
    CURL* handle = static_cast<CURL*>(curl);
    if (!handle) {
        response.failure = "no HTTP client";
        return response;
    }
    curl_easy_reset(handle);
    curl_slist* list = nullptr;
    for (const std::string& header : headers)
        list = curl_slist_append(list, header.c_str());
    // No "Expect: 100-continue" round trip before each card.
    list = curl_slist_append(list, "Expect:");
    char errorText[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, options.timeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, options.timeoutSeconds < 15 ? options.timeoutSeconds : 15L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NETRC, long(CURL_NETRC_OPTIONAL));
    if (const char* netrc = std::getenv("NETRC"); netrc && *netrc)
        curl_easy_setopt(handle, CURLOPT_NETRC_FILE, netrc);
    curl_easy_setopt(handle, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC | CURLAUTH_DIGEST));
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty())
        curl_easy_setopt(handle, CURLOPT_CAINFO, options.caFile.c_str());
    if (!body.empty() || method == "PUT") {
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    }
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, TakeEtag);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &response.etag);
    const CURLcode result = curl_easy_perform(handle);
    curl_slist_free_all(list);
    if (result != CURLE_OK) {
        response.failure = *errorText ? errorText : curl_easy_strerror(result);
        if (answered)
            answered(method, url, 0);
        return response;
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status);
    if (answered)
        answered(method, url, response.status);
    return response;
}

std::string DisplayUrl(const std::string& url)
{
    UrlHandle parsed;
    if (curl_url_set(parsed.handle, CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return "(a URL that cannot be read)";
    curl_url_set(parsed.handle, CURLUPART_USER, nullptr, 0);
    curl_url_set(parsed.handle, CURLUPART_PASSWORD, nullptr, 0);
    curl_url_set(parsed.handle, CURLUPART_QUERY, nullptr, 0);
    curl_url_set(parsed.handle, CURLUPART_FRAGMENT, nullptr, 0);
    return parsed.Part(CURLUPART_URL);
}

std::string ResolveUrl(const std::string& base, const std::string& reference)
{
    UrlHandle parsed;
    curl_url_set(parsed.handle, CURLUPART_URL, base.c_str(), 0);
    if (curl_url_set(parsed.handle, CURLUPART_URL, reference.c_str(), 0) != CURLUE_OK)
        return {};
    return parsed.Part(CURLUPART_URL);
}

std::string UrlPath(const std::string& url)
{
    UrlHandle parsed;
    if (curl_url_set(parsed.handle, CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return url;
    return parsed.Part(CURLUPART_PATH);
}

} // namespace carddav
