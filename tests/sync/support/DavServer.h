// A real CardDAV server of the Debian archive, Radicale or Xandikos, started
// on a free localhost port with its storage in a temporary folder, and the
// plain HTTP requests another client would send it. The server ends with the
// test, even when the test is killed.
#pragma once
#include "sync/DavXml.h"
#include "sync/Http.h"
#include "sync/ServerBook.h"
#include "tests/common/ChildProcesses.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace synctest {

enum class ServerKind { Radicale, Xandikos };

// Radicale's storage as installed, or with the scans of the whole collection
// that it makes on every PUT replaced by an index (support/radicale_indexed_storage.py),
// for the benchmark: as installed, its PUTs slow down with every card.
enum class RadicaleStorage { AsInstalled, Indexed };

inline std::string NameOf(ServerKind kind) { return kind == ServerKind::Radicale ? "Radicale" : "Xandikos"; }

constexpr const char* User = "alice";
constexpr const char* Password = "Pw-9f3e1c7d";

// A socket listening on a port of localhost that the system chose.
inline int Listening(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::listen(fd, 16);
    port = ntohs(address.sin_port);
    return fd;
}

inline int FreePort()
{
    int port = 0;
    ::close(Listening(port));
    return port;
}

// Whether anything answers HTTP on this port of localhost.
inline bool Answers(int port)
{
    return carddav::HttpClient({"", 1}).Send("OPTIONS", "http://127.0.0.1:" + std::to_string(port) + "/", {}).status != 0;
}

class DavServer {
public:
    DavServer(ServerKind kind, std::string folder, RadicaleStorage storage = RadicaleStorage::AsInstalled)
        : kind(kind), storage(storage), folder(std::move(folder))
    {
    }
    ~DavServer() { Stop(); }

    // Starts the server and, on Radicale, makes the user's address book.
    bool Start()
    {
        port = FreePort();
        std::vector<std::string> args;
        if (kind == ServerKind::Radicale) {
            std::ofstream(folder + "/users") << User << ":" << Password << "\n";
            args = {"radicale", "--server-hosts", "127.0.0.1:" + std::to_string(port), "--storage-filesystem-folder",
                    folder + "/store", "--auth-type", "htpasswd", "--auth-htpasswd-filename", folder + "/users",
                    "--auth-htpasswd-encryption", "plain", "--auth-delay", "0", "--logging-level", "info"};
            if (storage == RadicaleStorage::Indexed) {
                args.insert(args.end(), {"--storage-type", "radicale_indexed_storage"});
                ::setenv("PYTHONPATH", CONTACTS_SOURCE_DIR "/tests/sync/support", 1);
            }
        } else {
            args = {"xandikos", "-d", folder + "/store", "-l", "127.0.0.1", "-p", std::to_string(port), "--defaults"};
        }
        // setpriv (util-linux) has the kernel end the server (SIGTERM) when the
        // thread that started it ends, however this process ends.
        args.insert(args.begin(), {"--pdeathsig", "TERM"});
        pid = children.Start("/usr/bin/setpriv", std::move(args), nullptr, LogPath(), "/dev/null");
        for (int i = 0; i < 200 && !Answers(port); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!Answers(port))
            return false;
        if (kind == ServerKind::Xandikos)
            return true;
        return Send("MKCOL", BookUrl(), {"Content-Type: application/xml"},
                    "<?xml version=\"1.0\"?><D:mkcol xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><D:set>"
                    "<D:prop><D:resourcetype><D:collection/><C:addressbook/></D:resourcetype></D:prop></D:set></D:mkcol>")
                   .status == 201;
    }

    void Stop()
    {
        if (pid > 0 && ::kill(pid, SIGTERM) == 0)
            children.WaitExit(pid, std::chrono::seconds(30));
        pid = 0;
    }

    int Port() const { return port; }
    std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port); }
    std::string RootUrl() const { return Origin() + "/"; }
    std::string BookUrl() const
    {
        return RootUrl() + (kind == ServerKind::Radicale ? std::string(User) + "/contacts/" : "user/contacts/addressbook/");
    }
    std::string LogPath() const { return folder + "/server.log"; }

    carddav::HttpResponse Send(const std::string& method, const std::string& url, const std::vector<std::string>& headers,
                               const std::string& body = {})
    {
        return client.Send(method, url, headers, body);
    }

    // The card at `name` (or an href) in the address book, written as another
    // client would: new, or with If-Match: `etag`.
    long PutCard(const std::string& name, const std::string& text, const std::string& etag = {})
    {
        return Send("PUT", carddav::ResolveUrl(BookUrl(), name),
                    {"Content-Type: text/vcard; charset=utf-8", etag.empty() ? "If-None-Match: *" : "If-Match: " + etag},
                    text)
            .status;
    }
    long DeleteCard(const std::string& href) { return Send("DELETE", carddav::ResolveUrl(BookUrl(), href), {}).status; }

    // Every card of the address book by its href, with its ETag.
    std::map<std::string, carddav::FetchedCard> Cards()
    {
        std::map<std::string, carddav::FetchedCard> cards;
        const carddav::HttpResponse listing = Send("PROPFIND", BookUrl(), {"Depth: 1", "Content-Type: application/xml"},
                                                   carddav::EtagsBody());
        carddav::Multistatus answer;
        EXPECT_TRUE(carddav::ParseMultistatus(listing.body, answer)) << listing.status << listing.body;
        for (const carddav::DavResponse& member : answer.responses) {
            const std::string path = carddav::UrlPath(carddav::ResolveUrl(BookUrl(), member.href));
            if (path == carddav::UrlPath(BookUrl()))
                continue;
            const carddav::HttpResponse card = Send("GET", carddav::ResolveUrl(BookUrl(), path), {});
            cards[path] = {card.etag, card.body};
        }
        return cards;
    }

private:
    ServerKind kind;
    RadicaleStorage storage;
    std::string folder;
    int port = 0;
    pid_t pid = 0;
    shelltest::ChildProcesses children;
    carddav::HttpClient client{carddav::HttpOptions{}};
};

} // namespace synctest
