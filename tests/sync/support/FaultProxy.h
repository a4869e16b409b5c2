// A proxy in front of the real server that passes every request on, except
// the one chosen to fail: an HTTP status, a broken XML answer, or silence
// until the client gives up; or every request of a kind the server is to
// refuse, as a server without that kind of request does.
#pragma once
#include "DavServer.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <sstream>
#include <cstring>
#include <poll.h>
#include <strings.h>

namespace synctest {

class FaultProxy {
public:
    enum class Fault { None, Status, BrokenXml, Silence };

    explicit FaultProxy(std::string target)
        : target(std::move(target)), listener(Listening(port)), worker([this] { Serve(); })
    {
    }

    ~FaultProxy()
    {
        stop = true;
        worker.join();
        ::close(listener);
        for (int fd : silenced)
            ::close(fd);
    }

    std::string RootUrl() const { return "http://127.0.0.1:" + std::to_string(port) + "/"; }

    // Requests of `method` whose body holds `bodyHolds` fail with `fault`: the
    // `nth` from now on, or with nth 0 every one, as from a server without them.
    void Inject(const std::string& method, int nth, Fault fault, int status = 0, const std::string& bodyHolds = {})
    {
        const std::lock_guard lock(mutex);
        rule = {method, bodyHolds, nth, fault, status};
    }

private:
    struct Request {
        std::string method, path, body;
        std::vector<std::string> headers;
    };

    static bool ReadRequest(int fd, Request& request)
    {
        std::string data;
        const auto receive = [fd, &data] {
            char buffer[65536];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            data.append(buffer, std::size_t(std::max<ssize_t>(n, 0)));
            return n > 0;
        };
        std::size_t headerEnd;
        while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos)
            if (!receive())
                return false;
        std::istringstream head(data.substr(0, headerEnd));
        std::string line;
        head >> request.method >> request.path;
        std::getline(head, line); // the rest of the request line
        std::size_t length = 0;
        while (std::getline(head, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const auto named = [&line](const char* name) { return ::strncasecmp(line.c_str(), name, std::strlen(name)) == 0; };
            if (named("content-length:"))
                length = std::stoul(line.substr(15));
            else if (named("depth:") || named("if-match:") || named("if-none-match:") || named("content-type:"))
                request.headers.push_back(line);
        }
        while (data.size() < headerEnd + 4 + length)
            if (!receive())
                return false;
        request.body = data.substr(headerEnd + 4);
        return true;
    }

    static void Answer(int fd, long status, const std::string& etag, const std::string& body)
    {
        std::string response = "HTTP/1.1 " + std::to_string(status) + " X\r\nConnection: close\r\nContent-Length: " +
                               std::to_string(body.size()) + "\r\n";
        if (!etag.empty())
            response += "ETag: " + etag + "\r\n";
        response += "Content-Type: application/xml\r\n\r\n" + body;
        ::send(fd, response.data(), response.size(), MSG_NOSIGNAL);
    }

    Fault Chosen(const Request& request, int& status)
    {
        const std::lock_guard lock(mutex);
        if (request.method != rule.method || request.body.find(rule.bodyHolds) == std::string::npos)
            return Fault::None;
        const bool once = rule.nth > 0;
        if (once && --rule.nth > 0)
            return Fault::None;
        const Fault fault = rule.fault;
        status = rule.status;
        if (once)
            rule.fault = Fault::None;
        return fault;
    }

    void Serve()
    {
        while (!stop) {
            pollfd waiting{listener, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0)
                continue;
            const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            Request request;
            if (ReadRequest(fd, request)) {
                int status = 0;
                switch (Chosen(request, status)) {
                case Fault::Status:
                    Answer(fd, status, {}, "");
                    break;
                case Fault::BrokenXml:
                    Answer(fd, 207, {}, "<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>");
                    break;
                case Fault::Silence: // held open without a word until the proxy ends
                    silenced.push_back(fd);
                    continue;
                case Fault::None: {
                    const carddav::HttpResponse passed =
                        client.Send(request.method, target + request.path, request.headers, request.body);
                    Answer(fd, passed.status ? passed.status : 502, passed.etag, passed.body);
                }
                }
            }
            ::close(fd);
        }
    }

    std::string target;
    int port = 0;
    int listener = -1;
    std::atomic<bool> stop{false};
    std::vector<int> silenced;
    carddav::HttpClient client{carddav::HttpOptions{}};
    std::mutex mutex;
    struct Rule {
        std::string method, bodyHolds;
        int nth = 0;
        Fault fault = Fault::None;
        int status = 0;
    } rule;
    std::thread worker; // last: it serves with all of the above
};

} // namespace synctest
