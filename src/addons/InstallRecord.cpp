#include "addons/InstallRecord.h"

#include <QCryptographicHash>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "addons/Download.h"
#include "platform/FileSystem.h"

namespace fenmar::addons {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "fenmar-addon 1";
constexpr std::string_view kSuffix = ".txt";
constexpr std::uintmax_t kMaxRecordBytes = 16u << 20;

std::string RecordFolder(const std::string& quakeDir) {
    return platform::JoinPath(quakeDir, kRecordFolder);
}

bool ParseInt(std::string_view text, std::int64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "<word> <rest>": splits off the first blank-separated word.
std::string_view NextWord(std::string_view& line) {
    const std::size_t blank = line.find(' ');
    const std::string_view word = line.substr(0, blank);
    line = blank == std::string_view::npos ? std::string_view{} : line.substr(blank + 1);
    return word;
}

// A recorded path may not leave the Quake directory, whatever the file says.
bool SafeRecordedPath(std::string_view path) {
    return !path.empty() && !platform::IsAbsoluteOrClimbing(path) &&
           path.find(':') == std::string_view::npos && path.find('\\') == std::string_view::npos;
}

std::optional<InstallRecord> ParseRecord(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        return std::nullopt;
    }
    InstallRecord record;
    while (std::getline(in, line)) {
        std::string_view rest = line;
        const std::string_view key = NextWord(rest);
        if (key == "id") {
            record.id = std::string(rest);
        } else if (key == "sequence") {
            if (!ParseInt(rest, record.sequence)) {
                return std::nullopt;
            }
        } else if (key == "dir") {
            if (!SafeRecordedPath(rest)) {
                return std::nullopt;
            }
            record.createdDirectories.emplace_back(rest);
        } else if (key == "file") {
            RecordedFile file;
            file.sha256 = std::string(NextWord(rest));
            if (!ParseInt(NextWord(rest), file.size) || !ParseInt(NextWord(rest), file.modified) ||
                file.sha256.size() != 64 || !SafeRecordedPath(rest)) {
                return std::nullopt;
            }
            file.path = std::string(rest);
            record.files.push_back(std::move(file));
        }
        // Other keys: written by a later version, read past.
    }
    if (!IsPlainFileName(record.id)) {
        return std::nullopt;
    }
    return record;
}

std::optional<InstallRecord> ReadRecordFile(const fs::path& file) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size > kMaxRecordBytes) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        return std::nullopt;
    }
    return ParseRecord(text);
}

}  // namespace

std::string RecordPath(const std::string& quakeDir, std::string_view id) {
    return platform::JoinPath(RecordFolder(quakeDir), std::string(id) + std::string(kSuffix));
}

std::optional<InstallRecord> ReadInstallRecord(const std::string& quakeDir, std::string_view id) {
    if (!IsPlainFileName(id)) {
        return std::nullopt;
    }
    std::optional<InstallRecord> record = ReadRecordFile(RecordPath(quakeDir, id));
    if (record && !platform::EqualsIgnoringAsciiCase(record->id, id)) {
        return std::nullopt;
    }
    return record;
}

std::vector<InstallRecord> ReadInstallRecords(const std::string& quakeDir) {
    std::vector<InstallRecord> records;
    std::error_code ec;
    for (fs::directory_iterator it(RecordFolder(quakeDir), ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path& file = it->path();
        if (file.extension() != kSuffix || !it->is_regular_file(ec)) {
            continue;
        }
        std::optional<InstallRecord> record = ReadRecordFile(file);
        if (record && platform::EqualsIgnoringAsciiCase(record->id + std::string(kSuffix),
                                                        file.filename().string())) {
            records.push_back(std::move(*record));
        }
    }
    std::sort(records.begin(), records.end(), [](const InstallRecord& a, const InstallRecord& b) {
        return a.sequence != b.sequence ? a.sequence < b.sequence : a.id < b.id;
    });
    return records;
}

bool WriteInstallRecord(const std::string& quakeDir, const InstallRecord& record,
                        std::string* error) {
    const auto fail = [&](const std::string& text) {
        if (error != nullptr) {
            *error = text;
        }
        return false;
    };
    if (!IsPlainFileName(record.id)) {
        return fail("Not a plain add-on id: " + record.id);
    }
    std::ostringstream out;
    out << kHeader << "\nid " << record.id << "\nsequence " << record.sequence << '\n';
    for (const std::string& dir : record.createdDirectories) {
        out << "dir " << dir << '\n';
    }
    for (const RecordedFile& file : record.files) {
        out << "file " << file.sha256 << ' ' << file.size << ' ' << file.modified << ' '
            << file.path << '\n';
    }
    const std::string folder = RecordFolder(quakeDir);
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::string target = RecordPath(quakeDir, record.id);
    const std::string temporary = target + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        const std::string text = out.str();
        if (!file.write(text.data(), static_cast<std::streamsize>(text.size())) || !file.flush()) {
            file.close();
            fs::remove(temporary, ec);
            return fail("Cannot write the record " + temporary);
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return fail("Cannot write the record " + target);
    }
    return true;
}

bool DeleteInstallRecord(const std::string& quakeDir, std::string_view id) {
    if (!IsPlainFileName(id)) {
        return false;
    }
    std::error_code ec;
    const bool removed = fs::remove(RecordPath(quakeDir, id), ec);
    fs::remove(RecordFolder(quakeDir), ec);  // only when it became empty
    return removed;
}

std::int64_t NextSequence(const std::string& quakeDir) {
    std::int64_t next = 1;
    for (const InstallRecord& record : ReadInstallRecords(quakeDir)) {
        next = std::max(next, record.sequence + 1);
    }
    return next;
}

std::string Sha256OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::array<char, 64 * 1024> buffer{};
    while (in) {
        in.read(buffer.data(), buffer.size());
        if (in.gcount() > 0) {
            hash.addData(QByteArrayView(buffer.data(), static_cast<qsizetype>(in.gcount())));
        }
    }
    if (in.bad()) {
        return {};
    }
    return hash.result().toHex().toStdString();
}

std::int64_t ModifiedTicks(const std::string& path) {
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(path, ec);
    return ec ? 0 : static_cast<std::int64_t>(time.time_since_epoch().count());
}

}  // namespace fenmar::addons
