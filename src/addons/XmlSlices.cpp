#include "addons/XmlSlices.h"

namespace fenmar::addons::detail {

namespace {

constexpr std::size_t kMaxProblems = 20;
constexpr std::size_t kStackLimit = 64;  // names kept for matching end tags

bool NameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || u >= 0x80;
}

bool NameChar(char c) {
    return NameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Whether '<' at `at` starts markup (a tag, an end tag, a comment, CDATA, a declaration).
bool StartsMarkup(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size()) {
        return false;
    }
    const char c = text[at + 1];
    return NameStart(c) || c == '/' || c == '!' || c == '?';
}

// Position just past `end` found from `from`, or npos.
std::size_t SkipPast(std::string_view text, std::size_t from, std::string_view end) {
    const std::size_t found = text.find(end, from);
    return found == std::string_view::npos ? found : found + end.size();
}

// Position just past the '>' that ends the tag opened at `at`, honouring quoted values.
std::size_t TagEnd(std::string_view text, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

std::string_view NameAt(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && NameChar(text[end])) {
        ++end;
    }
    return text.substr(from, end - from);
}

bool ValidReference(std::string_view text, std::size_t at) {
    const std::size_t semicolon = text.find(';', at + 1);
    if (semicolon == std::string_view::npos || semicolon - at > 12) {
        return false;
    }
    const std::string_view body = text.substr(at + 1, semicolon - at - 1);
    if (body == "amp" || body == "lt" || body == "gt" || body == "quot" || body == "apos") {
        return true;
    }
    if (body.size() < 2 || body[0] != '#') {
        return false;
    }
    const bool hex = body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) {
        return false;
    }
    for (const char c : digits) {
        const bool digit = c >= '0' && c <= '9';
        const bool hexLetter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit && !(hex && hexLetter)) {
            return false;
        }
    }
    return true;
}

class Slicer {
public:
    Slicer(std::string_view text, const ReadLimits& limits) : text_(text), limits_(limits) {}

    XmlSlices Run() {
        std::size_t at = 0;
        if (text_.starts_with("\xEF\xBB\xBF")) {
            at = 3;
        }
        while (at < text_.size() && !done_ && result_.error.empty()) {
            const std::size_t lt = text_.find('<', at);
            if (lt == std::string_view::npos) {
                break;
            }
            at = Markup(lt);
        }
        if (!result_.error.empty()) {
            return std::move(result_);
        }
        if (!rootSeen_) {
            result_.error = "This is not an add-on catalogue: it has no <files> element";
        } else if (entryStart_ != std::string_view::npos) {
            Skip("the catalogue ends inside a release");
        }
        return std::move(result_);
    }

private:
    // Handles the markup at `lt`; returns where scanning goes on.
    std::size_t Markup(std::size_t lt) {
        const std::string_view rest = text_.substr(lt);
        if (rest.starts_with("<?")) {
            const std::size_t end = SkipPast(text_, lt + 2, "?>");
            if (rest.starts_with("<?xml") && !rootSeen_ && result_.declaration.empty() &&
                end != std::string_view::npos) {
                result_.declaration = text_.substr(lt, end - lt);
            }
            return Continue(end);
        }
        if (rest.starts_with("<!--")) {
            return Continue(SkipPast(text_, lt + 4, "-->"));
        }
        if (rest.starts_with("<![CDATA[")) {
            return Continue(SkipPast(text_, lt + 9, "]]>"));
        }
        if (rest.starts_with("<!")) {
            const std::size_t end = TagEnd(text_, lt);
            const std::string_view declaration = text_.substr(lt, end - lt);
            if (declaration.find('[') != std::string_view::npos || rest.starts_with("<!ENTITY")) {
                result_.error =
                    "The catalogue declares entities of its own (a document type with an "
                    "internal subset): refused";
                return text_.size();
            }
            return Continue(end);
        }
        if (!StartsMarkup(text_, lt)) {
            return lt + 1;  // a bare '<' in text: the release's parser decides
        }
        const std::size_t end = TagEnd(text_, lt);
        if (end == std::string_view::npos) {
            return Continue(end);
        }
        if (text_[lt + 1] == '/') {
            EndTag(NameAt(text_, lt + 2), end);
        } else {
            StartTag(NameAt(text_, lt + 1), lt, end, text_[end - 2] == '/');
        }
        return end;
    }

    std::size_t Continue(std::size_t end) {
        if (end == std::string_view::npos) {
            done_ = true;  // truncated: what is open is counted in Run
            return text_.size();
        }
        return end;
    }

    void StartTag(std::string_view name, std::size_t lt, std::size_t end, bool selfClosing) {
        if (!rootSeen_) {
            if (name != "files") {
                result_.error = "This is not an add-on catalogue: its root is <" +
                                std::string(name) + ">, not <files>";
                return;
            }
            rootSeen_ = true;
            if (!selfClosing) {
                Push(name);
            }
            return;
        }
        if (Depth() == 0) {
            return;  // after the root closed
        }
        if (Depth() == 2 && name == "file" && entryStart_ != std::string_view::npos) {
            // A release directly inside another: the one before lost its end tag.
            entryStart_ = std::string_view::npos;
            Skip("a release is not closed");
            stack_.resize(1);
            overflow_ = 0;
        }
        if (Depth() == 1 && name == "file") {
            entryStart_ = lt;
            tooDeep_ = false;
            if (selfClosing) {
                Finish(end);
                return;
            }
        }
        if (!selfClosing) {
            Push(name);
            if (entryStart_ != std::string_view::npos && Depth() > limits_.maxDepth + 1) {
                tooDeep_ = true;
            }
        }
    }

    void EndTag(std::string_view name, std::size_t end) {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        // Close the innermost open element of that name; an end tag nothing matches is
        // left to the release's parser.
        std::size_t match = stack_.size();
        while (match > 0 && stack_[match - 1] != name) {
            --match;
        }
        if (match == 0) {
            return;
        }
        stack_.resize(match - 1);
        if (entryStart_ != std::string_view::npos && Depth() <= 1) {
            Finish(end);
        }
        if (Depth() == 0) {
            done_ = true;  // the root is closed: the rest is not read
        }
    }

    void Finish(std::size_t end) {
        const std::size_t start = entryStart_;
        entryStart_ = std::string_view::npos;
        if (tooDeep_) {
            Skip("a release nests elements too deeply");
        } else if (end - start > limits_.maxEntryBytes) {
            Skip("a release is too large");
        } else if (result_.entries.size() >= limits_.maxEntries) {
            Skip("the catalogue holds too many releases");
        } else {
            result_.entries.push_back(text_.substr(start, end - start));
        }
    }

    void Push(std::string_view name) {
        if (stack_.size() >= kStackLimit) {
            ++overflow_;
            tooDeep_ = true;
            return;
        }
        stack_.push_back(name);
    }

    int Depth() const { return static_cast<int>(stack_.size()); }

    void Skip(const std::string& why) {
        ++result_.skipped;
        if (result_.problems.size() < kMaxProblems) {
            result_.problems.push_back(why);
        }
    }

    std::string_view text_;
    const ReadLimits& limits_;
    XmlSlices result_;
    std::vector<std::string_view> stack_;
    std::size_t overflow_ = 0;
    bool rootSeen_ = false;
    bool done_ = false;
    bool tooDeep_ = false;
    std::size_t entryStart_ = std::string_view::npos;
};

}  // namespace

XmlSlices SliceCatalogue(std::string_view bytes, const ReadLimits& limits) {
    if (bytes.size() > limits.maxBytes) {
        XmlSlices refused;
        refused.error = "The catalogue is larger than " + std::to_string(limits.maxBytes >> 20) +
                        " MiB: refused";
        return refused;
    }
    return Slicer(bytes, limits).Run();
}

std::string RepairRelease(std::string_view xml) {
    std::string out;
    out.reserve(xml.size() + 32);
    std::vector<std::string_view> open;
    std::size_t at = 0;
    const auto text = [&](std::string_view part) {
        for (std::size_t i = 0; i < part.size(); ++i) {
            if (part[i] == '&' && !ValidReference(part, i)) {
                out += "&amp;";
            } else if (part[i] == '<') {
                out += "&lt;";
            } else {
                out += part[i];
            }
        }
    };
    while (at < xml.size()) {
        const std::size_t lt = xml.find('<', at);
        text(xml.substr(at, lt == std::string_view::npos ? std::string_view::npos : lt - at));
        if (lt == std::string_view::npos) {
            break;
        }
        const std::string_view rest = xml.substr(lt);
        std::size_t end = std::string_view::npos;
        if (rest.starts_with("<![CDATA[")) {
            end = SkipPast(xml, lt + 9, "]]>");
        } else if (rest.starts_with("<!--")) {
            end = SkipPast(xml, lt + 4, "-->");
        } else if (!StartsMarkup(xml, lt)) {
            out += "&lt;";
            at = lt + 1;
            continue;
        } else {
            end = TagEnd(xml, lt);
        }
        if (end == std::string_view::npos) {
            break;  // cut off: the open elements are closed below
        }
        const std::string_view tag = xml.substr(lt, end - lt);
        at = end;
        if (tag.starts_with("<!") || tag.starts_with("<?")) {
            out.append(tag);
            continue;
        }
        if (tag[1] == '/') {
            // Close what was left open inside; drop an end tag that closes nothing.
            const std::string_view name = NameAt(xml, lt + 2);
            std::size_t match = open.size();
            while (match > 0 && open[match - 1] != name) {
                --match;
            }
            if (match == 0) {
                continue;
            }
            while (open.size() >= match) {
                out += "</";
                out += open.back();
                out += '>';
                open.pop_back();
            }
            continue;
        }
        // A start tag: attribute values get the same repair as text.
        char quote = 0;
        for (const char c : tag) {
            if (quote != 0 && c == quote) {
                quote = 0;
            } else if (quote == 0 && (c == '"' || c == '\'')) {
                quote = c;
            }
            if (quote != 0 && c == '&') {
                const std::size_t offset = static_cast<std::size_t>(&c - tag.data());
                out += ValidReference(tag, offset) ? "&" : "&amp;";
            } else if (quote != 0 && c == '<') {
                out += "&lt;";
            } else {
                out += c;
            }
        }
        if (tag[tag.size() - 2] != '/') {
            open.push_back(NameAt(xml, lt + 1));
        }
    }
    while (!open.empty()) {
        out += "</";
        out += open.back();
        out += '>';
        open.pop_back();
    }
    return out;
}

}  // namespace fenmar::addons::detail
