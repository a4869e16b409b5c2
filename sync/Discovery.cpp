#include "sync/DavXml.h"
#include "sync/ServerBook.h"
#include "sync/Sync.h"

namespace carddav {

namespace {

bool Propfind(HttpClient& http, const std::string& url, const char* depth, Multistatus& answer, std::string& error)
{
    const HttpResponse response = http.Send("PROPFIND", url, {XmlType, std::string("Depth: ") + depth}, PropfindBody());
    if (response.status != 207) {
        error = RequestFailure("PROPFIND", url, response);
        return false;
    }
    if (!ParseMultistatus(response.body, answer) || answer.responses.empty()) {
        error = "PROPFIND " + DisplayUrl(url) + ": the server's answer is no WebDAV multistatus";
        return false;
    }
    return true;
}

} // namespace

bool DiscoverAddressBook(HttpClient& http, const std::string& url, std::string& collection, std::string& error)
{
    Multistatus answer;
    if (!Propfind(http, url, "0", answer, error))
        return false;
    const DavResponse& at = answer.responses.front();
    if (at.isAddressBook) {
        collection = url;
        return true;
    }
    std::string home = at.addressBookHome;
    if (home.empty() && !at.principal.empty()) {
        const std::string principal = ResolveUrl(url, at.principal);
        if (!Propfind(http, principal, "0", answer, error))
            return false;
        home = answer.responses.front().addressBookHome;
    }
    if (home.empty()) {
        error = DisplayUrl(url) + " is no address book, and the server names no address book home there";
        return false;
    }
    home = ResolveUrl(url, home);
    if (!Propfind(http, home, "1", answer, error))
        return false;
    for (const DavResponse& member : answer.responses) {
        if (member.isAddressBook) {
            collection = ResolveUrl(home, member.href);
            return true;
        }
    }
    error = "the address book home " + DisplayUrl(home) + " holds no address book";
    return false;
}

} // namespace carddav
