#include "sync/ServerBook.h"

#include "sync/DavXml.h"

namespace carddav {

namespace {

constexpr std::size_t MultigetBatch = 250;
constexpr const char* CtagPrefix = "ctag:";

std::string Meaning(long status)
{
    switch (status) {
    case 401: return " (the server refused the login: check the user name and password in ~/.netrc or $NETRC)";
    case 403: return " (the server forbids it)";
    case 404: return " (no such address book on the server)";
    case 412: return " (the card changed on the server meanwhile)";
    default: return status >= 500 ? " (a fault of the server)" : "";
    }
}

} // namespace

bool ServerBook::Answered(const char* method, const HttpResponse& response, Multistatus& answer, std::string& error) const
{
    if (response.status != 207) {
        error = RequestFailure(method, collection, response);
        return false;
    }
    if (!ParseMultistatus(response.body, answer)) {
        error = method + (" " + DisplayUrl(collection)) + ": the server's answer is no WebDAV multistatus";
        return false;
    }
    return true;
}

std::string RequestFailure(const std::string& method, const std::string& url, const HttpResponse& response)
{
    const std::string where = method + " " + DisplayUrl(url) + ": ";
    if (response.status == 0)
        return where + "no answer from the server (" + response.failure + ")";
    return where + "HTTP " + std::to_string(response.status) + Meaning(response.status);
}

ServerBook::ServerBook(HttpClient& http, std::string collection)
    : http(http), collection(std::move(collection)), collectionPath(UrlPath(this->collection))
{
}

std::string ServerBook::PathOf(const std::string& fileName) const
{
    return collectionPath + (collectionPath.ends_with('/') ? "" : "/") + fileName;
}

std::string ServerBook::Failure(const std::string& method, const std::string& path, const HttpResponse& response) const
{
    return RequestFailure(method, ResolveUrl(collection, path), response);
}

bool ServerBook::SyncCollection(const std::map<std::string, std::string>& known, std::string& token,
                                std::map<std::string, std::string>& members, std::string& error, bool& unsupported)
{
    const bool incremental = !token.empty() && !token.starts_with(CtagPrefix);
    HttpResponse response = http.Send("REPORT", collection, {XmlType, "Depth: 0"},
                                      SyncCollectionBody(incremental ? token : ""));
    if (incremental && (response.status == 403 || response.status == 409 || response.status == 410)) {
        // The server no longer knows the token: start again from everything.
        token.clear();
        return SyncCollection(known, token, members, error, unsupported);
    }
    if (response.status == 400 || response.status == 403 || response.status == 405 || response.status == 415 ||
        response.status == 501) {
        unsupported = true;
        return false;
    }
    Multistatus answer;
    if (!Answered("REPORT", response, answer, error))
        return false;
    members = incremental ? known : std::map<std::string, std::string>();
    for (const DavResponse& member : answer.responses) {
        const std::string path = UrlPath(ResolveUrl(collection, member.href));
        if (path == collectionPath || path + "/" == collectionPath)
            continue;
        if (member.status == 404)
            members.erase(path);
        else
            members[path] = member.etag;
    }
    token = answer.syncToken;
    return true;
}

bool ServerBook::PropfindEtags(std::map<std::string, std::string>& members, std::string& error)
{
    const HttpResponse response = http.Send("PROPFIND", collection, {XmlType, "Depth: 1"}, EtagsBody());
    Multistatus answer;
    if (!Answered("PROPFIND", response, answer, error))
        return false;
    members.clear();
    for (const DavResponse& member : answer.responses) {
        const std::string path = UrlPath(ResolveUrl(collection, member.href));
        if (path != collectionPath && path + "/" != collectionPath && member.status / 100 == 2)
            members[path] = member.etag;
    }
    return true;
}

bool ServerBook::List(const std::map<std::string, std::string>& known, std::string& token,
                      std::map<std::string, std::string>& members, std::string& error)
{
    bool unsupported = false;
    if (SyncCollection(known, token, members, error, unsupported))
        return true;
    if (!unsupported)
        return false;
    // Without sync-collection: the collection's ctag tells whether anything changed.
    const HttpResponse response = http.Send("PROPFIND", collection, {XmlType, "Depth: 0"}, PropfindBody());
    Multistatus answer;
    if (!Answered("PROPFIND", response, answer, error))
        return false;
    if (answer.responses.empty()) {
        error = "PROPFIND " + DisplayUrl(collection) + ": the server's answer names no address book";
        return false;
    }
    const std::string ctag = answer.responses.front().ctag;
    if (!ctag.empty() && token == CtagPrefix + ctag) {
        members = known;
        return true;
    }
    token = ctag.empty() ? "" : CtagPrefix + ctag;
    return PropfindEtags(members, error);
}

bool ServerBook::Fetch(const std::vector<std::string>& paths, std::map<std::string, FetchedCard>& cards,
                       std::string& error)
{
    for (std::size_t from = 0; from < paths.size(); from += MultigetBatch) {
        const std::vector<std::string> batch(paths.begin() + from,
                                             paths.begin() + std::min(paths.size(), from + MultigetBatch));
        const HttpResponse response =
            http.Send("REPORT", collection, {XmlType, "Depth: 1"}, MultigetBody(batch));
        Multistatus answer;
        if (!Answered("REPORT", response, answer, error))
            return false;
        for (const DavResponse& member : answer.responses) {
            if (member.status / 100 == 2 && !member.addressData.empty())
                cards[UrlPath(ResolveUrl(collection, member.href))] = {member.etag, member.addressData};
        }
    }
    return true;
}

HttpResponse ServerBook::Put(const std::string& path, const std::string& card, const std::string& etag)
{
    return http.Send("PUT", ResolveUrl(collection, path),
                     {"Content-Type: text/vcard; charset=utf-8", etag.empty() ? "If-None-Match: *" : "If-Match: " + etag},
                     card);
}

HttpResponse ServerBook::Delete(const std::string& path, const std::string& etag)
{
    return http.Send("DELETE", ResolveUrl(collection, path), {"If-Match: " + etag});
}

HttpResponse ServerBook::Get(const std::string& path)
{
    return http.Send("GET", ResolveUrl(collection, path), {"Accept: text/vcard"});
}

} // namespace carddav
