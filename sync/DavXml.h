// The WebDAV and CardDAV XML this client sends, and the multistatus answers
// it reads.
#pragma once
#include <string>
#include <vector>

namespace carddav {

// One <response> of a multistatus, with the properties this client asks for.
struct DavResponse {
    std::string href;
    int status = 200;             // of the response, or of its found properties
    std::string etag;
    std::string addressData;      // the card, from address-data
    bool isAddressBook = false;   // resourcetype holds CARDDAV:addressbook
    std::string principal;        // current-user-principal's href
    std::string addressBookHome;  // addressbook-home-set's first href
    std::string syncToken;
    std::string ctag;
};

struct Multistatus {
    std::vector<DavResponse> responses;
    std::string syncToken; // of a sync-collection answer
};

// The header of every request whose body is one of the bodies below.
inline constexpr const char* XmlType = "Content-Type: application/xml; charset=utf-8";

// False when the text is not a WebDAV multistatus.
bool ParseMultistatus(const std::string& xml, Multistatus& result);

// PROPFIND body for what discovery and a sync need to know of a resource.
std::string PropfindBody();
// PROPFIND body for the ETags of a collection's members.
std::string EtagsBody();
// REPORT sync-collection from `token` (empty: everything).
std::string SyncCollectionBody(const std::string& token);
// REPORT addressbook-multiget of these hrefs, with their cards.
std::string MultigetBody(const std::vector<std::string>& hrefs);

} // namespace carddav
