#pragma once
// A small UDP server on 127.0.0.1 for the query tests: answers each datagram through a script.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "net/Protocol.h"
#include "platform/UdpSocket.h"

namespace fenmar::net::testing {

// Builds NetQuake control answers as a server would, optionally damaged by the caller.
Bytes NqControl(std::uint8_t command, const Bytes& body);
Bytes NqText(const std::string& text);  // the text with its terminating zero
Bytes NqServerInfoAnswer(const std::string& host, const std::string& map, int players, int max);
Bytes NqPlayerAnswer(int number, const std::string& name, int frags, int seconds);
Bytes NqRuleAnswer(const std::string& name, const std::string& value);
Bytes NqLastRuleAnswer();

// The answers to one request (possibly none). `count` counts requests received so far, from 1.
using Script = std::function<std::vector<Bytes>(ByteView request, int count)>;

class Responder {
public:
    // On [::1] with `v6`; throws where the system has no IPv6 loopback.
    explicit Responder(Script script, bool v6 = false);
    ~Responder();
    std::uint16_t Port() const { return port_; }
    std::string Address() const { return (v6_ ? "[::1]:" : "127.0.0.1:") + std::to_string(port_); }
    int Requests() const { return requests_; }
    // Answers from another socket instead (a stranger's reply).
    void AnswerFromElsewhere() { elsewhere_ = true; }
    // Pauses briefly between bursts of answers, as a master sending a long list does, so
    // that the system's buffers need not hold a whole list at once.
    void PaceAnswers() { paced_ = true; }

private:
    void Loop();
    Script script_;
    std::unique_ptr<platform::UdpSocket> socket_;
    std::unique_ptr<platform::UdpSocket> other_;
    std::uint16_t port_ = 0;
    bool v6_ = false;
    std::atomic<int> requests_{0};
    std::atomic<bool> elsewhere_{false};
    std::atomic<bool> paced_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A DarkPlaces-protocol answer: "\xFF\xFF\xFF\xFF<name>\n<info>\n<lines>".
Bytes DpAnswer(const std::string& name, const std::string& info, const std::string& lines = "");
// The challenge of a DarkPlaces-protocol request ("getinfo <challenge>"); "" for anything else.
std::string DpChallenge(ByteView request);

// A DarkPlaces-protocol server: players as name and frags.
Script DpServerScript(const std::string& host, const std::string& map, int max,
                      std::vector<std::pair<std::string, int>> players);

// A NetQuake server with players and rules, as far as the query needs one.
Script NqServerScript(const std::string& host, const std::string& map, int max,
                      std::vector<std::pair<std::string, int>> players,
                      std::vector<std::pair<std::string, std::string>> rules);

// Master replies listing `servers`: one QuakeWorld datagram; DarkPlaces datagrams of at most
// `perDatagram` entries each, the last one ending the list unless `cut` (then it stops three
// bytes into an entry instead).
Bytes QwMasterAnswer(const std::vector<platform::NetAddress>& servers);
std::vector<Bytes> DpMasterAnswers(const std::vector<platform::NetAddress>& servers,
                                   std::size_t perDatagram, bool cut = false);
// 127.0.0.1 with ports first, first + 1, ...
std::vector<platform::NetAddress> LoopbackServers(std::size_t count, std::uint16_t first);

}  // namespace fenmar::net::testing
