#include "addons/AddOnFilter.h"

namespace fenmar::addons {

namespace {

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendFolded(std::string& out, std::string_view text) {
    for (const char c : text) {
        out += Fold(c);
    }
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += Fold(c);
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace

AddOnFilter::AddOnFilter(const std::vector<AddOn>& addOns) {
    folded_.reserve(addOns.size());
    for (const AddOn& addOn : addOns) {
        std::string text;
        text.reserve(addOn.title.size() + addOn.author.size() + addOn.id.size() + 2);
        AppendFolded(text, addOn.title);
        text += '\n';
        AppendFolded(text, addOn.author);
        text += '\n';
        AppendFolded(text, addOn.id);
        folded_.push_back(std::move(text));
    }
}

std::vector<std::size_t> AddOnFilter::Match(std::string_view text) const {
    const std::vector<std::string> words = Words(text);
    std::vector<std::size_t> matches;
    matches.reserve(folded_.size());
    for (std::size_t i = 0; i < folded_.size(); ++i) {
        bool all = true;
        for (const std::string& word : words) {
            if (folded_[i].find(word) == std::string::npos) {
                all = false;
                break;
            }
        }
        if (all) {
            matches.push_back(i);
        }
    }
    return matches;
}

std::vector<std::size_t> FilterAddOns(const std::vector<AddOn>& addOns, std::string_view text) {
    return AddOnFilter(addOns).Match(text);
}

}  // namespace fenmar::addons
