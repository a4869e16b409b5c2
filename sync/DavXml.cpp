#include "sync/DavXml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <memory>

namespace carddav {

namespace {

constexpr const char* Dav = "DAV:";
constexpr const char* CardDav = "urn:ietf:params:xml:ns:carddav";
constexpr const char* CalendarServer = "http://calendarserver.org/ns/";

bool Is(const xmlNode* node, const char* ns, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0 &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlNode* Child(const xmlNode* node, const char* ns, const char* name)
{
    for (const xmlNode* child = node ? node->children : nullptr; child; child = child->next)
        if (Is(child, ns, name))
            return child;
    return nullptr;
}

std::string Text(const xmlNode* node)
{
    if (!node)
        return {};
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

std::string Trimmed(std::string text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "HTTP/1.1 404 Not Found" -> 404; 0 when unreadable.
int StatusOf(const xmlNode* status)
{
    const std::string line = Text(status);
    const auto space = line.find(' ');
    return space == std::string::npos ? 0 : std::atoi(line.c_str() + space + 1);
}

void ReadProperties(const xmlNode* prop, DavResponse& response)
{
    for (const xmlNode* p = prop->children; p; p = p->next) {
        if (Is(p, Dav, "getetag"))
            response.etag = Trimmed(Text(p));
        else if (Is(p, CardDav, "address-data"))
            response.addressData = Text(p);
        else if (Is(p, Dav, "resourcetype"))
            response.isAddressBook = Child(p, CardDav, "addressbook") != nullptr;
        else if (Is(p, Dav, "current-user-principal"))
            response.principal = Trimmed(Text(Child(p, Dav, "href")));
        else if (Is(p, CardDav, "addressbook-home-set"))
            response.addressBookHome = Trimmed(Text(Child(p, Dav, "href")));
        else if (Is(p, Dav, "sync-token"))
            response.syncToken = Trimmed(Text(p));
        else if (Is(p, CalendarServer, "getctag"))
            response.ctag = Trimmed(Text(p));
    }
}

DavResponse ReadResponse(const xmlNode* node)
{
    DavResponse response;
    response.href = Trimmed(Text(Child(node, Dav, "href")));
    if (const xmlNode* status = Child(node, Dav, "status"))
        response.status = StatusOf(status);
    bool found = false;
    for (const xmlNode* propstat = node->children; propstat; propstat = propstat->next) {
        if (!Is(propstat, Dav, "propstat"))
            continue;
        const int status = StatusOf(Child(propstat, Dav, "status"));
        if (status / 100 != 2)
            continue;
        found = true;
        if (const xmlNode* prop = Child(propstat, Dav, "prop"))
            ReadProperties(prop, response);
    }
    if (!found && !Child(node, Dav, "status"))
        response.status = 404;
    return response;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

constexpr const char* Prolog = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

} // namespace

bool ParseMultistatus(const std::string& xml, Multistatus& result)
{
    result = Multistatus();
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(xml.data(), int(xml.size()), nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!Is(root, Dav, "multistatus"))
        return false;
    for (const xmlNode* node = root->children; node; node = node->next) {
        if (Is(node, Dav, "response"))
            result.responses.push_back(ReadResponse(node));
        else if (Is(node, Dav, "sync-token"))
            result.syncToken = Trimmed(Text(node));
    }
    return true;
}

std::string PropfindBody()
{
    return std::string(Prolog) +
           "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\" xmlns:CS=\"http://calendarserver.org/ns/\">"
           "<D:prop><D:resourcetype/><D:current-user-principal/><C:addressbook-home-set/><D:sync-token/><CS:getctag/></D:prop>"
           "</D:propfind>";
}

std::string EtagsBody()
{
    return std::string(Prolog) + "<D:propfind xmlns:D=\"DAV:\"><D:prop><D:resourcetype/><D:getetag/></D:prop></D:propfind>";
}

std::string SyncCollectionBody(const std::string& token)
{
    return std::string(Prolog) + "<D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" + Escaped(token) +
           "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop></D:sync-collection>";
}

std::string MultigetBody(const std::vector<std::string>& hrefs)
{
    std::string body = std::string(Prolog) +
                       "<C:addressbook-multiget xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">"
                       "<D:prop><D:getetag/><C:address-data/></D:prop>";
    for (const std::string& href : hrefs)
        body += "<D:href>" + Escaped(href) + "</D:href>";
    return body + "</C:addressbook-multiget>";
}

} // namespace carddav
