// The intensity database's search service as the end-to-end tests stand in
// for it (tests/e2e/update/servers.py), in a process of its own on
// 127.0.0.1: it reads the real form fields and answers in the service's reply
// shape from `events`, cutting a reply at 1,000 events as the service does;
// `answers` replace the answers to some requests (an error page, 503, a
// stall). Publish() hands both over; each feed run calls it first.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "kit_test_util.h"

struct StubEvent {
    std::string ot, name, lat, lon, dep, mag, maxI;   // as the service writes them
    std::string latS = "-", lonS = "-";               // degrees and minutes
};

struct StubAnswer {
    int from, to;   // the requests it answers, numbered from 0
    int status;
    std::string body, headers;   // headers: "Name: value\r\n" lines
    int stallMs;                 // wait this long before answering
};

struct SearchStub {
    std::vector<StubEvent> events;
    std::vector<StubAnswer> answers;
    TempDir dir;
    pid_t pid;
    int port = 0;

    SearchStub() {
        int out[2];
        EXPECT_EQ(pipe(out), 0);
        if ((pid = fork()) == 0) {
            dup2(out[1], 1);
            execlp("python3", "python3", WOLT_SOURCE_DIR "/tests/e2e/update/servers.py", "serve-search",
                   (dir / "events.json").c_str(), (dir / "forms.jsonl").c_str(), "0", "", "", nullptr);
            _exit(127);
        }
        close(out[1]);
        FILE* first = fdopen(out[0], "r");
        EXPECT_EQ(std::fscanf(first, "%d", &port), 1) << "the stand-in did not start";
        std::fclose(first);
    }
    ~SearchStub() { kill(pid, SIGTERM), waitpid(pid, nullptr, 0); }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port) + "/api.php"; }

    void Publish() const {
        nlohmann::json e = nlohmann::json::array(), a = nlohmann::json::array();
        for (const StubEvent& v : events)
            e.push_back({{"ot", v.ot}, {"name", v.name}, {"lat", v.lat}, {"lon", v.lon}, {"latS", v.latS},
                         {"lonS", v.lonS}, {"dep", v.dep}, {"mag", v.mag}, {"maxI", v.maxI}});
        for (const StubAnswer& v : answers)
            a.push_back({{"from", v.from}, {"to", v.to}, {"status", v.status}, {"body", v.body},
                         {"headers", v.headers}, {"stall", v.stallMs}});
        std::ofstream(dir / "events.json") << e.dump();
        std::ofstream(dir / "events.json.answers") << a.dump();
    }
    // The requests' forms, oldest first: each field with the list of its values.
    std::vector<nlohmann::json> Forms() const {
        std::vector<nlohmann::json> forms;
        std::ifstream in(dir / "forms.jsonl");
        for (std::string line; std::getline(in, line);) forms.push_back(nlohmann::json::parse(line));
        return forms;
    }
};
