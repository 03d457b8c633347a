#include "net/ServerAddress.h"

#include <charconv>

namespace fenmar::net {

namespace {

std::optional<std::uint16_t> ReadPort(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<ServerAddress> ParseServerAddress(std::string_view text, ServerKind forced) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    ServerAddress address;
    if (StartsWithNoCase(text, "qw://")) {
        address.kind = ServerKind::QuakeWorld;
        text.remove_prefix(5);
    } else if (StartsWithNoCase(text, "nq://")) {
        address.kind = ServerKind::NetQuake;
        text.remove_prefix(5);
    } else if (StartsWithNoCase(text, "dp://")) {
        address.kind = ServerKind::DarkPlaces;
        text.remove_prefix(5);
    }
    if (forced != ServerKind::Auto) {
        address.kind = forced;
    }
    if (text.empty() || text.size() > 255) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (static_cast<unsigned char>(c) <= ' ' || c == '/' || c == '\\') {
            return std::nullopt;
        }
    }
    std::string_view portText;
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close == 1) {
            return std::nullopt;
        }
        address.host = std::string(text.substr(1, close - 1));
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return std::nullopt;
            }
            portText = rest.substr(1);
            address.portGiven = true;
        }
    } else {
        const std::size_t colon = text.find(':');
        if (colon != std::string_view::npos &&
            text.find(':', colon + 1) != std::string_view::npos) {
            // A bare IPv6 address: no port.
            if (text.find_first_not_of("0123456789abcdefABCDEF:.") != std::string_view::npos) {
                return std::nullopt;
            }
            address.host = std::string(text);
        } else if (colon != std::string_view::npos) {
            address.host = std::string(text.substr(0, colon));
            portText = text.substr(colon + 1);
            address.portGiven = true;
        } else {
            address.host = std::string(text);
        }
    }
    if (address.host.empty() || address.host.find_first_of("[]") != std::string::npos) {
        return std::nullopt;
    }
    if (address.portGiven) {
        const auto port = ReadPort(portText);
        if (!port) {
            return std::nullopt;
        }
        address.port = *port;
    } else {
        address.port = address.kind == ServerKind::QuakeWorld ? kQuakeWorldPort : kNetQuakePort;
    }
    return address;
}

const char* KindName(ServerKind kind) {
    switch (kind) {
        case ServerKind::NetQuake:
            return "nq";
        case ServerKind::QuakeWorld:
            return "qw";
        case ServerKind::DarkPlaces:
            return "dp";
        case ServerKind::Auto:
            break;
    }
    return "?";
}

}  // namespace fenmar::net
