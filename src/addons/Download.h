#pragma once
// Where a release's zip is fetched from, and the checks of the file fetched. The fetching
// itself is the caller's (Qt Network); this layer takes the file.

#include <cstdint>
#include <string>
#include <string_view>

#include "addons/AddOn.h"

namespace fenmar::addons {

// The catalogue itself is refused beyond this size (also when downloading it).
inline constexpr std::int64_t kMaxCatalogueBytes = 64 << 20;
// A release whose size the catalogue does not give is refused beyond this.
inline constexpr std::int64_t kMaxAddOnBytes = std::int64_t{4} << 30;

// True for a name that is one plain file name on every system: not empty, at most 128
// bytes, no separator, no ':', no control character, not "." or "..", no leading or trailing
// blank or dot, not a Windows device name (CON, NUL, COM1, ...).
bool IsPlainFileName(std::string_view name);

struct Address {
    std::string url;
    std::string error;  // non-empty: no address (the reason, for the user)
    bool Ok() const { return error.empty(); }
};
// "scheme://host[:port]" of an http or https address (no user, no path).
Address CatalogueBase(std::string_view catalogueUrl);
// "<base>/filebase/<id>.zip"; refused for an id that is not a plain file name.
Address DownloadUrl(std::string_view catalogueUrl, std::string_view id);
// True for an absolute http or https address with a host.
bool IsWebAddress(std::string_view url);

// The most bytes a download of `addOn` may bring: its size plus 1 KiB (the catalogue rounds
// to KiB), or kMaxAddOnBytes where the size is not given. A downloader stops the transfer as
// soon as it has received more than this.
std::int64_t MaxDownloadBytes(const AddOn& addOn);
// True when `received` bytes are past MaxDownloadBytes: stop, the file will not pass.
bool DownloadOverrun(const AddOn& addOn, std::int64_t received);

struct FileCheck {
    std::string error;  // non-empty: the file is not the release (size, MD5, unreadable)
    std::string md5;    // of the file, lower-case hex (when it could be read)
    bool Ok() const { return error.empty(); }
};
// Size within 1 KiB either way of the catalogue's KiB (when given), then the MD5 (when
// given). A release whose catalogue entry gives neither passes on a readable file.
FileCheck CheckDownloadedFile(const AddOn& addOn, const std::string& path);
// MD5 of a file, lower-case hex; "" with `error` set when it cannot be read.
std::string Md5OfFile(const std::string& path, std::string* error = nullptr);

}  // namespace fenmar::addons
