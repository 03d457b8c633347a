#include "addons/Download.h"

#include <QCryptographicHash>
#include <QUrl>

#include <array>
#include <fstream>

namespace fenmar::addons {

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension ("nul.txt").
bool DeviceName(std::string_view name) {
    std::string stem;
    for (const char c : name.substr(0, name.find('.'))) {
        stem += Upper(c);
    }
    while (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" ||
        stem == "CONOUT$") {
        return true;
    }
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '0' && stem[3] <= '9';
}

QUrl ParseWebAddress(std::string_view text) {
    const QUrl url(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                   QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        return {};
    }
    return url;
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > 128 || name == "." || name == ".." || name.front() == ' ' ||
        name.back() == ' ' || name.back() == '.') {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
            c == '"' || c == '<' || c == '>' || c == '|') {
            return false;
        }
    }
    return !DeviceName(name);
}

bool IsWebAddress(std::string_view url) {
    return !ParseWebAddress(url).isEmpty();
}

Address CatalogueBase(std::string_view catalogueUrl) {
    const QUrl url = ParseWebAddress(catalogueUrl);
    if (url.isEmpty()) {
        return {
            {},
            "The catalogue address is not an http or https address: " + std::string(catalogueUrl)};
    }
    const QUrl base = url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                                   QUrl::RemoveFragment);
    return {base.toString(QUrl::FullyEncoded).toStdString(), {}};
}

Address DownloadUrl(std::string_view catalogueUrl, std::string_view id) {
    if (!IsPlainFileName(id)) {
        return {{}, "The add-on id is not a plain file name: " + std::string(id)};
    }
    Address base = CatalogueBase(catalogueUrl);
    if (!base.Ok()) {
        return base;
    }
    const QByteArray encoded =
        QUrl::toPercentEncoding(QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size())));
    base.url += "/filebase/" + encoded.toStdString() + ".zip";
    return base;
}

std::int64_t MaxDownloadBytes(const AddOn& addOn) {
    if (addOn.sizeKiB < 0 || addOn.sizeKiB > kMaxAddOnBytes / 1024) {
        return kMaxAddOnBytes;
    }
    return (addOn.sizeKiB + 1) * 1024;
}

bool DownloadOverrun(const AddOn& addOn, std::int64_t received) {
    return received > MaxDownloadBytes(addOn);
}

std::string Md5OfFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr) {
            *error = "Cannot read " + path;
        }
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    std::array<char, 64 * 1024> buffer{};
    while (in) {
        in.read(buffer.data(), buffer.size());
        const std::streamsize got = in.gcount();
        if (got > 0) {
            hash.addData(QByteArrayView(buffer.data(), static_cast<qsizetype>(got)));
        }
    }
    if (in.bad()) {
        if (error != nullptr) {
            *error = "Cannot read " + path;
        }
        return {};
    }
    return hash.result().toHex().toStdString();
}

FileCheck CheckDownloadedFile(const AddOn& addOn, const std::string& path) {
    FileCheck check;
    std::error_code ec;
    std::ifstream probe(path, std::ios::binary | std::ios::ate);
    if (!probe) {
        check.error = "Cannot read the downloaded file " + path;
        return check;
    }
    const auto size = static_cast<std::int64_t>(probe.tellg());
    probe.close();
    if (addOn.sizeKiB >= 0) {
        const std::int64_t low = (addOn.sizeKiB - 1) * 1024;
        const std::int64_t high = (addOn.sizeKiB + 1) * 1024;
        if (size < low || size > high) {
            check.error = "The download of " + addOn.id + " has " + std::to_string(size) +
                          " bytes; the catalogue says about " + std::to_string(addOn.sizeKiB) +
                          " KiB";
            return check;
        }
    } else if (size > kMaxAddOnBytes) {
        check.error = "The download of " + addOn.id + " is too large";
        return check;
    }
    check.md5 = Md5OfFile(path, &check.error);
    if (!check.Ok()) {
        return check;
    }
    std::string expected;
    for (const char c : addOn.md5) {
        expected += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (!expected.empty() && expected != check.md5) {
        check.error = "The download of " + addOn.id + " has MD5 " + check.md5 +
                      "; the catalogue says " + expected;
    }
    return check;
}

}  // namespace fenmar::addons
