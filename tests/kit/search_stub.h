// A local stand-in for the intensity database's search service: a real HTTP
// server on 127.0.0.1 that reads the real form fields and answers in the
// service's reply shape from a list of events, cutting a reply at 1,000
// events as the service does. A hook may replace any answer (an error page,
// 503, a stall).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

struct StubEvent {
    std::string ot, name, lat, lon, dep, mag, maxI;   // as the service writes them
    std::string latS, lonS;                           // degrees and minutes; "" is served as "-"
};

struct StubAnswer {
    int status = 200;
    std::string body, headers;   // headers: "Name: value\r\n" lines
    int stallMs = 0;             // wait this long before answering
};

class SearchStub {
public:
    std::vector<StubEvent> events;
    // Called with the request number (0, 1, ...) and the form; a true return sends `answer` instead.
    std::function<bool(int, const std::string&, StubAnswer*)> hook;
    std::vector<std::string> forms;

    SearchStub() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener_, 16);
        socklen_t n = sizeof a;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &n);
        port_ = ntohs(a.sin_port);
        accepter_ = std::thread([this] { Accept(); });
    }
    ~SearchStub() {
        stopping_ = true, shutdown(listener_, SHUT_RDWR), close(listener_), accepter_.join();
        for (std::thread& t : workers_) t.join();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/api.php"; }

private:
    int listener_, port_;
    std::atomic<bool> stopping_{false};
    std::thread accepter_;
    std::vector<std::thread> workers_;
    std::mutex lock_;

    void Accept() {
        while (!stopping_) {
            int c = accept(listener_, nullptr, nullptr);
            if (c < 0) return;
            workers_.emplace_back([this, c] { Serve(c); });
        }
    }
    static std::string Decode(const std::string& s) {
        std::string out;
        for (size_t i = 0; i < s.size(); i++)
            if (s[i] == '%' && i + 2 < s.size()) out += char(std::stoi(s.substr(i + 1, 2), nullptr, 16)), i += 2;
            else out += s[i];
        return out;
    }
    // The values of a repeated form field.
    static std::vector<std::string> Values(const std::string& form, const std::string& name) {
        std::vector<std::string> out;
        std::stringstream pairs(form);
        for (std::string pair; std::getline(pairs, pair, '&');)
            if (Decode(pair).rfind(name + "=", 0) == 0) out.push_back(Decode(pair).substr(name.size() + 1));
        return out;
    }
    std::string Search(const std::string& form) {
        auto from = Values(form, "dateTimeF[]"), to = Values(form, "dateTimeT[]");
        nlohmann::json res = nlohmann::json::array();
        if (Values(form, "mode") != std::vector<std::string>{"search"} || from.size() != 2 || to.size() != 2)
            return nlohmann::json{{"res", "検索条件が正しくありません"}}.dump();
        // "YYYY-MM-DD" + "HH:MM" compare as the event's "YYYY/MM/DD HH:MM".
        std::string a = from[0] + " " + from[1], b = to[0] + " " + to[1];
        for (char* s : {&a[0], &b[0]}) s[4] = s[7] = '/';
        for (const StubEvent& e : events) {
            std::string minute = e.ot.substr(0, 16);
            if (minute < a || minute > b || res.size() == 1000) continue;
            res.push_back({{"id", e.ot}, {"ot", e.ot}, {"name", e.name}, {"lat", e.lat}, {"lon", e.lon},
                           {"latS", e.latS.empty() ? "-" : e.latS}, {"lonS", e.lonS.empty() ? "-" : e.lonS}, {"dep", e.dep}, {"mag", e.mag}, {"maxI", e.maxI}});
        }
        return nlohmann::json{{"res", res}}.dump();
    }
    void Serve(int c) {
        std::string request;
        char buffer[65536];
        size_t headerEnd = std::string::npos, length = 0;
        for (ssize_t n; (n = recv(c, buffer, sizeof buffer, 0)) > 0;) {
            request.append(buffer, size_t(n));
            headerEnd = request.find("\r\n\r\n");
            size_t at = request.find("Content-Length: ");
            length = at < headerEnd ? std::stoul(request.substr(at + 16)) : 0;
            if (headerEnd != std::string::npos && request.size() >= headerEnd + 4 + length) break;
        }
        const std::string form = headerEnd == std::string::npos ? "" : request.substr(headerEnd + 4);
        StubAnswer answer;
        int number;
        {
            std::lock_guard<std::mutex> g(lock_);
            number = int(forms.size());
            forms.push_back(form);
        }
        if (!(hook && hook(number, form, &answer))) answer.body = Search(form);
        std::this_thread::sleep_for(std::chrono::milliseconds(answer.stallMs));
        std::string reply = "HTTP/1.1 " + std::to_string(answer.status) + " X\r\nContent-Type: application/json\r\n" +
                            answer.headers + "Content-Length: " + std::to_string(answer.body.size()) +
                            "\r\nConnection: close\r\n\r\n" + answer.body;
        send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
        close(c);
    }
};
