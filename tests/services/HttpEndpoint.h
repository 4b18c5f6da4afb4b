// A small HTTP endpoint on 127.0.0.1 (an ephemeral port) served by a thread: each request is
// recorded and answered by the test's handler, or left unanswered to stand for a dead service.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

struct HttpRequest {
    std::string RequestLine;
    std::string Headers; // as received, lines ending with CR LF
    std::string Body;
};

struct HttpResponse {
    int Status = 200;
    std::string Body;
    bool Hang = false; // read the request and never answer
};

class HttpEndpoint {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    explicit HttpEndpoint(Handler handler) : FHandler(std::move(handler)) {
        FListen = ::socket(AF_INET, SOCK_STREAM, 0);
        if (FListen < 0) throw std::runtime_error("socket");
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        socklen_t len = sizeof addr;
        if (::bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(FListen, 8) != 0 ||
            ::getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            throw std::runtime_error("bind/listen");
        FPort = ntohs(addr.sin_port);
        FThread = std::thread([this] { Serve(); });
    }
    ~HttpEndpoint() {
        FStop = true;
        FThread.join();
        ::close(FListen);
    }
    HttpEndpoint(const HttpEndpoint&) = delete;
    HttpEndpoint& operator=(const HttpEndpoint&) = delete;

    std::string Url(const std::string& path = "/portal/services") const {
        return "http://127.0.0.1:" + std::to_string(FPort) + path;
    }
    std::vector<HttpRequest> Requests() {
        std::lock_guard<std::mutex> g(FLock);
        return FRequests;
    }

private:
    static bool WaitReadable(int fd, const std::atomic<bool>& stop) {
        pollfd p{fd, POLLIN, 0};
        while (!stop) {
            const int r = ::poll(&p, 1, 50);
            if (r > 0) return true;
            if (r < 0) return false;
        }
        return false;
    }

    void Serve() {
        while (WaitReadable(FListen, FStop)) {
            const int c = ::accept(FListen, nullptr, nullptr);
            if (c < 0) continue;
            Handle(c);
            ::close(c);
        }
    }

    void Handle(int c) {
        std::string data;
        size_t headerEnd = std::string::npos, length = 0;
        char buf[4096];
        while (!FStop) {
            if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + length) break;
            if (!WaitReadable(c, FStop)) return;
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0) return;
            data.append(buf, size_t(n));
            if (headerEnd == std::string::npos) {
                headerEnd = data.find("\r\n\r\n");
                if (headerEnd != std::string::npos) {
                    const std::string head = data.substr(0, headerEnd);
                    size_t p = head.find("Content-Length:");
                    if (p == std::string::npos) p = head.find("content-length:");
                    if (p != std::string::npos) length = std::stoul(head.substr(p + 15));
                }
            }
        }
        HttpRequest req;
        const size_t lineEnd = data.find("\r\n");
        req.RequestLine = data.substr(0, lineEnd);
        req.Headers = data.substr(lineEnd + 2, headerEnd - lineEnd);
        req.Body = data.substr(headerEnd + 4, length);
        {
            std::lock_guard<std::mutex> g(FLock);
            FRequests.push_back(req);
        }
        const HttpResponse res = FHandler(req);
        if (res.Hang) {
            while (!FStop)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return;
        }
        const std::string out = "HTTP/1.1 " + std::to_string(res.Status) +
                                " Answer\r\nContent-Type: text/xml; charset=utf-8\r\n"
                                "Connection: close\r\nContent-Length: " +
                                std::to_string(res.Body.size()) + "\r\n\r\n" + res.Body;
        for (size_t sent = 0; sent < out.size();) {
            const ssize_t n = ::send(c, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += size_t(n);
        }
    }

    Handler FHandler;
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<HttpRequest> FRequests;
    std::thread FThread;
};
