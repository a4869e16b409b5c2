// The address book on the server as this client uses it: its members and
// their ETags, cards fetched in batches, and conditional writes.
#pragma once
#include "sync/Http.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace carddav {

struct Multistatus;

struct FetchedCard {
    std::string etag;
    std::string text;
};

class ServerBook {
public:
    ServerBook(HttpClient& http, std::string collection);

    // Every member's path with its ETag. With the token of the last sync
    // only the changes are asked for and applied to `known`; `token` is then
    // the token to keep for the next sync.
    bool List(const std::map<std::string, std::string>& known, std::string& token,
              std::map<std::string, std::string>& members, std::string& error);
    // The cards at these paths; a path gone meanwhile is missing from `cards`.
    bool Fetch(const std::vector<std::string>& paths, std::map<std::string, FetchedCard>& cards, std::string& error);

    // PUT with If-Match: etag, or If-None-Match: * for an empty etag.
    HttpResponse Put(const std::string& path, const std::string& card, const std::string& etag);
    HttpResponse Delete(const std::string& path, const std::string& etag);
    HttpResponse Get(const std::string& path);

    std::string PathOf(const std::string& fileName) const;
    std::string UrlOf(const std::string& path) const { return ResolveUrl(collection, path); }
    // "PUT https://host/path: HTTP 412" or the reason there was no answer.
    std::string Failure(const std::string& method, const std::string& path, const HttpResponse& response) const;

private:
    bool SyncCollection(const std::map<std::string, std::string>& known, std::string& token,
                        std::map<std::string, std::string>& members, std::string& error, bool& unsupported);
    bool PropfindEtags(std::map<std::string, std::string>& members, std::string& error);
    // The response's multistatus, or false with the request's failure in `error`.
    bool Answered(const char* method, const HttpResponse& response, Multistatus& answer, std::string& error) const;

    HttpClient& http;
    std::string collection;
    std::string collectionPath;
};

// The message for a request that failed: the request, the server's URL
// without credentials, the status and what it usually means.
std::string RequestFailure(const std::string& method, const std::string& url, const HttpResponse& response);

} // namespace carddav
