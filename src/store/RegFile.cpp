#include "store/RegFile.h"

#include <cstdio>

#include "store/TextCodec.h"

namespace fenmar::store {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHive = "HKEY_CURRENT_USER";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiUpper(s[i]) != AsciiUpper(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool OnlyBlanks(std::string_view s) {
    for (char c : s) {
        if (!IsBlank(c)) {
            return false;
        }
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = AsciiUpper(c);
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string TypeName(std::uint32_t type) {
    switch (type) {
        case 0:
            return "REG_NONE";
        case 1:
            return "REG_SZ";
        case 2:
            return "REG_EXPAND_SZ";
        case 3:
            return "REG_BINARY";
        case 4:
            return "REG_DWORD";
        case 5:
            return "REG_DWORD_BIG_ENDIAN";
        case 6:
            return "REG_LINK";
        case 7:
            return "REG_MULTI_SZ";
        case 8:
            return "REG_RESOURCE_LIST";
        case 11:
            return "REG_QWORD";
        default:
            return "type " + std::to_string(type);
    }
}

// A quoted text starting at s[pos] == '"', with the escapes \\ and \"; pos ends after the
// closing quote.
bool ParseQuoted(std::string_view s, std::size_t& pos, std::string& out, std::string& reason) {
    out.clear();
    ++pos;
    while (pos < s.size()) {
        const char c = s[pos++];
        if (c == '"') {
            return true;
        }
        if (c == '\\') {
            if (pos >= s.size()) {
                break;
            }
            const char e = s[pos++];
            if (e != '\\' && e != '"') {
                reason = std::string("unknown escape sequence \\") + e +
                         " (only \\\\ and \\\" are allowed)";
                return false;
            }
            out += e;
            continue;
        }
        out += c;
    }
    reason = "missing closing quote";
    return false;
}

// The components below the hive of a section's key, "HKEY_CURRENT_USER\a\b".
bool ParseSectionKey(std::string_view section, std::string& path, std::string& reason) {
    if (!StartsWithIgnoringCase(section, kHive) ||
        (section.size() > kHive.size() && section[kHive.size()] != '\\')) {
        reason = "only keys of HKEY_CURRENT_USER can be imported";
        return false;
    }
    std::string_view rest = section.substr(kHive.size());
    path.clear();
    if (rest.empty()) {
        return true;
    }
    rest.remove_prefix(1);  // the backslash after the hive
    std::size_t start = 0;
    std::size_t depth = 0;
    while (start <= rest.size()) {
        if (++depth > kMaxKeyDepth) {
            reason = "key path deeper than 512 levels";
            return false;
        }
        std::size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) {
            end = rest.size();
        }
        if (end == start) {
            reason = "empty key name in the path";
            return false;
        }
        if (end - start > kMaxKeyNameLength) {
            reason = "key name longer than 255 characters";
            return false;
        }
        start = end + 1;
    }
    path = std::string(rest);
    return true;
}

class Parser {
public:
    RegParse Run(std::string_view bytes) {
        std::string text;
        if (!Decode(bytes, text)) {
            return Fail();
        }
        std::vector<std::string_view> lines;
        std::size_t start = 0;
        const std::string_view all(text);
        while (start <= all.size()) {
            std::size_t end = all.find('\n', start);
            if (end == std::string_view::npos) {
                end = all.size();
            }
            lines.push_back(all.substr(start, end - start));
            start = end + 1;
        }
        const std::string_view header = Trim(lines.front());
        if (header != kHeader4 && header != kHeader5) {
            line_ = 1;
            reason_ =
                "the file does not start with \"REGEDIT4\" or \"" + std::string(kHeader5) + "\"";
            return Fail();
        }
        for (std::size_t i = 1; i < lines.size(); ++i) {
            line_ = static_cast<int>(i + 1);
            if (!Line(Trim(lines[i]))) {
                return Fail();
            }
        }
        RegParse result;
        result.ok = true;
        result.operations = std::move(ops_);
        return result;
    }

private:
    bool Decode(std::string_view bytes, std::string& text) {
        line_ = 1;
        if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
            static_cast<unsigned char>(bytes[1]) == 0xFE) {
            std::size_t bad = 0;
            if (!Utf16LeToUtf8(bytes.substr(2), text, bad)) {
                line_ = 1;
                for (char c : text) {
                    line_ += c == '\n' ? 1 : 0;
                }
                reason_ = "invalid UTF-16 text (an unpaired surrogate or an odd number of bytes)";
                return false;
            }
            return true;
        }
        if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
            static_cast<unsigned char>(bytes[1]) == 0xFF) {
            reason_ = "UTF-16 big-endian files are not supported (expected UTF-16LE)";
            return false;
        }
        if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
            bytes.remove_prefix(3);
        }
        text = std::string(bytes);
        return true;
    }

    RegParse Fail() const {
        RegParse result;
        result.errorLine = line_;
        result.error = reason_;
        return result;
    }

    bool Error(std::string reason) {
        reason_ = std::move(reason);
        return false;
    }

    bool Line(std::string_view s) {
        if (s.empty() || s.front() == ';') {
            return true;
        }
        if (s.front() == '[') {
            return Section(s);
        }
        if (s.front() == '"' || s.front() == '@') {
            return Value(s);
        }
        return Error("neither a [key] line nor a \"name\"=value line");
    }

    bool Section(std::string_view s) {
        if (s.back() != ']' || s.size() < 2) {
            return Error("missing ']' at the end of the key line");
        }
        std::string_view section = s.substr(1, s.size() - 2);
        const bool remove = !section.empty() && section.front() == '-';
        if (remove) {
            section.remove_prefix(1);
        }
        std::string path;
        if (!ParseSectionKey(section, path, reason_)) {
            return false;
        }
        if (remove && path.empty()) {
            return Error("HKEY_CURRENT_USER itself cannot be deleted");
        }
        inSection_ = true;
        sectionDeleted_ = remove;
        section_ = path;
        RegOperation op;
        op.kind = remove ? RegOperation::Kind::DeleteKey : RegOperation::Kind::CreateKey;
        op.key = path;
        op.line = line_;
        ops_.push_back(std::move(op));
        return true;
    }

    bool Value(std::string_view s) {
        if (!inSection_) {
            return Error("value before the first [key] line");
        }
        if (sectionDeleted_) {
            return Error("value under a key that is being deleted ([-...])");
        }
        RegOperation op;
        op.key = section_;
        op.line = line_;
        std::size_t pos = 0;
        if (s.front() == '@') {
            pos = 1;
        } else if (!ParseQuoted(s, pos, op.name, reason_)) {
            reason_ += " in the value name";
            return false;
        }
        while (pos < s.size() && IsBlank(s[pos])) {
            ++pos;
        }
        if (pos >= s.size() || s[pos] != '=') {
            return Error("missing '=' after the value name");
        }
        ++pos;
        while (pos < s.size() && IsBlank(s[pos])) {
            ++pos;
        }
        const std::string_view data = s.substr(pos);
        if (data.empty()) {
            return Error("missing value after '='");
        }
        if (data.front() == '"') {
            std::size_t p = 0;
            if (!ParseQuoted(data, p, op.bytes, reason_)) {
                reason_ += " in the value text";
                return false;
            }
            if (!OnlyBlanks(data.substr(p))) {
                return Error("unexpected text after the closing quote");
            }
            op.kind = RegOperation::Kind::SetValue;
            op.type = kRegSz;
        } else if (data.front() == '-') {
            if (!OnlyBlanks(data.substr(1))) {
                return Error("unexpected text after '-'");
            }
            op.kind = RegOperation::Kind::DeleteValue;
        } else if (StartsWithIgnoringCase(data, "dword:")) {
            std::string_view digits = data.substr(6);
            std::uint32_t value = 0;
            std::size_t n = 0;
            while (n < digits.size() && HexDigit(digits[n]) >= 0) {
                value = (value << 4) | static_cast<std::uint32_t>(HexDigit(digits[n]));
                ++n;
            }
            if (n == 0 || n > 8 || !OnlyBlanks(digits.substr(n))) {
                return Error("a dword needs 1 to 8 hexadecimal digits (dword:0000001e)");
            }
            op.kind = RegOperation::Kind::SetValue;
            op.type = kRegDword;
            op.bytes = {static_cast<char>(value & 0xFFu), static_cast<char>((value >> 8) & 0xFFu),
                        static_cast<char>((value >> 16) & 0xFFu),
                        static_cast<char>((value >> 24) & 0xFFu)};
        } else if (StartsWithIgnoringCase(data, "hex:")) {
            return Error("unsupported value type REG_BINARY (only texts and dwords)");
        } else if (StartsWithIgnoringCase(data, "hex(")) {
            std::uint32_t type = 0;
            std::size_t n = 4;
            while (n < data.size() && n < 12 && HexDigit(data[n]) >= 0) {
                type = (type << 4) | static_cast<std::uint32_t>(HexDigit(data[n]));
                ++n;
            }
            if (n == 4 || n >= data.size() || data[n] != ')') {
                return Error("unknown value format (expected \"text\", dword:, or -)");
            }
            return Error("unsupported value type " + TypeName(type) + " (only texts and dwords)");
        } else {
            return Error("unknown value format (expected \"text\", dword:, or -)");
        }
        ops_.push_back(std::move(op));
        return true;
    }

    std::vector<RegOperation> ops_;
    int line_ = 0;
    std::string reason_;
    bool inSection_ = false;
    bool sectionDeleted_ = false;
    std::string section_;
};

void AppendQuoted(std::string_view text, std::string& out) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

bool Writable(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string SectionName(std::string_view path) {
    std::string name(kHive);
    if (!path.empty()) {
        name += '\\';
        name += path;
    }
    return name;
}

bool ExportKey(Store& store, const std::string& path, std::string& out,
               std::vector<std::string>& warnings, std::string& error) {
    const std::string section = SectionName(path);
    if (!Writable(path)) {
        warnings.push_back("left out the key [" + section +
                           "] and everything below it: its name holds a line break or a zero");
        return true;
    }
    std::vector<NamedValue> values;
    Status status = store.EnumValues(path, values);
    if (status == Status::NotFound) {
        return true;  // deleted meanwhile
    }
    if (status != Status::Ok) {
        error = "cannot read the key [" + section + "]";
        return false;
    }
    out += '[';
    out += section;
    out += "]\r\n";
    for (const auto& value : values) {
        const std::string shown = value.name.empty() ? "@" : "\"" + value.name + "\"";
        if (!Writable(value.name)) {
            warnings.push_back("left out a value of [" + section +
                               "]: its name holds a line break or a zero");
            continue;
        }
        std::string line = value.name.empty() ? "@" : "";
        if (!value.name.empty()) {
            AppendQuoted(value.name, line);
        }
        line += '=';
        if (value.type == kRegSz) {
            std::string_view text(value.bytes);
            if (!text.empty() && text.back() == '\0') {
                text.remove_suffix(1);
            }
            if (!Writable(text)) {
                warnings.push_back("left out " + shown + " of [" + section +
                                   "]: its text holds a line break or a zero");
                continue;
            }
            AppendQuoted(text, line);
        } else if (value.type == kRegDword && value.bytes.size() == 4) {
            std::uint32_t u = 0;
            for (int i = 3; i >= 0; --i) {
                u = (u << 8) | static_cast<unsigned char>(value.bytes[static_cast<std::size_t>(i)]);
            }
            char buf[16];
            std::snprintf(buf, sizeof buf, "dword:%08x", u);
            line += buf;
        } else {
            warnings.push_back("left out " + shown + " of [" + section + "]: " +
                               (value.type == kRegDword
                                    ? "a dword that is not 4 bytes long"
                                    : TypeName(value.type) + " is not supported"));
            continue;
        }
        out += line;
        out += "\r\n";
    }
    out += "\r\n";
    std::vector<std::string> subkeys;
    status = store.EnumSubkeys(path, subkeys);
    if (status == Status::NotFound) {
        return true;
    }
    if (status != Status::Ok) {
        error = "cannot read the subkeys of [" + section + "]";
        return false;
    }
    for (const auto& sub : subkeys) {
        if (!ExportKey(store, JoinKeyPath(path, sub), out, warnings, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

RegParse ParseRegFile(std::string_view bytes) {
    return Parser().Run(bytes);
}

bool ApplyRegOperations(Store& store, const std::vector<RegOperation>& operations,
                        std::string& error) {
    Transaction transaction(store);
    if (!transaction.Active()) {
        error = "the settings store is busy or cannot be written";
        return false;
    }
    for (const auto& op : operations) {
        Status status = Status::Ok;
        switch (op.kind) {
            case RegOperation::Kind::CreateKey:
                status = store.CreateKey(op.key);
                break;
            case RegOperation::Kind::DeleteKey:
                status = store.DeleteKey(op.key);
                break;
            case RegOperation::Kind::SetValue:
                status = store.SetValue(op.key, op.name, op.type, op.bytes);
                break;
            case RegOperation::Kind::DeleteValue:
                status = store.DeleteValue(op.key, op.name);
                break;
        }
        if (status == Status::NotFound && (op.kind == RegOperation::Kind::DeleteKey ||
                                           op.kind == RegOperation::Kind::DeleteValue)) {
            status = Status::Ok;  // deleting what is not there is no error
        }
        if (status != Status::Ok) {
            error = "line " + std::to_string(op.line) + ": the store refused the change";
            return false;
        }
    }
    if (!transaction.Commit()) {
        error = "the changes could not be saved";
        return false;
    }
    return true;
}

bool ParseKeyArgument(std::string_view text, std::string& path, std::string& error) {
    std::string_view rest = text;
    for (std::string_view hive : {kHive, std::string_view("HKCU")}) {
        if (StartsWithIgnoringCase(rest, hive) &&
            (rest.size() == hive.size() || rest[hive.size()] == '\\')) {
            rest.remove_prefix(hive.size());
            break;
        }
    }
    if (StartsWithIgnoringCase(rest, "HKEY_") || StartsWithIgnoringCase(rest, "HKLM") ||
        StartsWithIgnoringCase(rest, "HKCR") || StartsWithIgnoringCase(rest, "HKU\\")) {
        error = "only keys of HKEY_CURRENT_USER are kept in the store";
        return false;
    }
    std::vector<std::string> parts;
    if (!SplitKeyPath(rest, parts)) {
        error = "a key name is longer than 255 characters";
        return false;
    }
    path = NormalizeKeyPath(rest);
    return true;
}

bool StoredKeyPath(Store& store, std::string_view path, std::string& stored) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts)) {
        return false;
    }
    stored.clear();
    std::vector<std::string> subkeys;
    for (const auto& part : parts) {
        if (store.EnumSubkeys(stored, subkeys) != Status::Ok) {
            return false;
        }
        const std::string fold = FoldCase(part);
        bool found = false;
        for (const auto& sub : subkeys) {
            if (FoldCase(sub) == fold) {
                stored = JoinKeyPath(stored, sub);
                found = true;
                break;
            }
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

bool ExportRegFile(Store& store, std::string_view path, std::string& out,
                   std::vector<std::string>& warnings, std::string& error) {
    std::string stored;
    if (!StoredKeyPath(store, path, stored)) {
        error = "no such key: " + SectionName(NormalizeKeyPath(path));
        return false;
    }
    out = "REGEDIT4\r\n\r\n";
    return ExportKey(store, stored, out, warnings, error);
}

}  // namespace fenmar::store
