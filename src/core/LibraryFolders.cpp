#include "core/LibraryFolders.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>

#include "core/ExecutableTable.h"
#include "platform/FileSystem.h"

namespace fenmar {

namespace {

enum class TokenKind { Text, Open, Close, End, Damaged };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
};

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    Token Next() {
        SkipBlanksAndComments();
        if (pos_ >= text_.size()) {
            return {TokenKind::End, {}};
        }
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            return {TokenKind::Open, {}};
        }
        if (c == '}') {
            ++pos_;
            return {TokenKind::Close, {}};
        }
        if (c == '"') {
            return Quoted();
        }
        return Bare();
    }

private:
    void SkipBlanksAndComments() {
        while (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (std::isspace(c) != 0 || c == 0) {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "//") {
                const auto end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else {
                return;
            }
        }
    }

    Token Quoted() {
        ++pos_;  // the opening quote
        Token token{TokenKind::Text, {}};
        while (pos_ < text_.size()) {
            char c = text_[pos_++];
            if (c == '"') {
                return token;
            }
            if (c == '\\' && pos_ < text_.size()) {
                const char escaped = text_[pos_++];
                c = escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
            }
            if (token.text.size() >= kMaxLibraryFolderText) {
                return {TokenKind::Damaged, {}};
            }
            token.text.push_back(c);
        }
        return {TokenKind::Damaged, {}};  // no closing quote
    }

    Token Bare() {
        Token token{TokenKind::Text, {}};
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (std::isspace(static_cast<unsigned char>(c)) != 0 || c == '{' || c == '}' ||
                c == '"' || c == 0) {
                break;
            }
            if (token.text.size() >= kMaxLibraryFolderText) {
                return {TokenKind::Damaged, {}};
            }
            token.text.push_back(c);
            ++pos_;
        }
        return token;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

}  // namespace

std::vector<std::string> ParseLibraryFolders(std::string_view text) {
    if (text.size() > kMaxLibraryFoldersBytes) {
        text = text.substr(0, kMaxLibraryFoldersBytes);
    }
    std::vector<std::string> paths;
    const auto addPath = [&paths](const std::string& path) {
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end()) {
            paths.push_back(path);
        }
    };
    std::vector<std::string> blocks;  // the keys of the open blocks, outermost first
    std::optional<std::string> key;   // a key waiting for its value
    Tokenizer tokens(text);
    while (paths.size() < kMaxLibraryFolders) {
        const Token token = tokens.Next();
        if (token.kind == TokenKind::End || token.kind == TokenKind::Damaged) {
            break;
        }
        if (token.kind == TokenKind::Open) {
            if (!key || blocks.size() >= kMaxLibraryFoldersDepth) {
                break;  // a block without a key, or nested too deeply
            }
            blocks.push_back(std::move(*key));
            key.reset();
        } else if (token.kind == TokenKind::Close) {
            if (blocks.empty() || key) {
                break;
            }
            blocks.pop_back();
        } else if (!key) {
            key = token.text;
        } else {
            const bool inLibraries =
                !blocks.empty() && EqualsIgnoringAsciiCase(blocks.front(), "libraryfolders");
            if (inLibraries && blocks.size() == 1 && AllDigits(*key)) {
                addPath(token.text);
            } else if (inLibraries && blocks.size() == 2 && AllDigits(blocks[1]) &&
                       EqualsIgnoringAsciiCase(*key, "path")) {
                addPath(token.text);
            }
            key.reset();
        }
    }
    return paths;
}

std::vector<std::string> ReadLibraryFolders(const std::string& file) {
    // Only a regular file: a pipe or device of that name would block or never end.
    if (!platform::FileExists(file)) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string text(kMaxLibraryFoldersBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return ParseLibraryFolders(text);
}

}  // namespace fenmar
