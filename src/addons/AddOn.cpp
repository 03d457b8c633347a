#include "addons/AddOn.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace fenmar::addons {

namespace {

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool ParseNumber(std::string_view text, int& value) {
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool LeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

std::string_view TypeName(AddOnType type) {
    switch (type) {
        case AddOnType::Map:
            return "map";
        case AddOnType::Mod:
            return "mod";
        case AddOnType::SpeedMap:
            return "speedmap";
        case AddOnType::Misc:
            return "misc";
        case AddOnType::Unknown:
            break;
    }
    return "-";
}

std::string AddOnDate::Text() const {
    if (!Valid()) {
        return {};
    }
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%04d-%02d-%02d", year, month, day);
    return buffer.data();
}

AddOnDate ParseAddOnDate(std::string_view text) {
    const std::size_t first = text.find('.');
    const std::size_t second = first == std::string_view::npos ? first : text.find('.', first + 1);
    if (second == std::string_view::npos) {
        return {};
    }
    const std::string_view dayText = text.substr(0, first);
    const std::string_view monthText = text.substr(first + 1, second - first - 1);
    const std::string_view yearText = text.substr(second + 1);
    int day = 0;
    int month = 0;
    int year = 0;
    if (dayText.size() > 2 || monthText.size() > 2 ||
        (yearText.size() != 2 && yearText.size() != 4) || !ParseNumber(dayText, day) ||
        !ParseNumber(monthText, month) || !ParseNumber(yearText, year)) {
        return {};
    }
    if (yearText.size() == 2) {
        year += year < 70 ? 2000 : 1900;
    }
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1900 || month < 1 || month > 12 || day < 1) {
        return {};
    }
    const int days = kDays[static_cast<std::size_t>(month - 1)] + (month == 2 && LeapYear(year));
    if (day > days) {
        return {};
    }
    return {year, month, day};
}

Catalogue::Catalogue(std::vector<AddOn> addOns, std::size_t skipped,
                     std::vector<std::string> problems)
    : skipped_(skipped), problems_(std::move(problems)) {
    addOns_.reserve(addOns.size());
    index_.reserve(addOns.size());
    for (AddOn& addOn : addOns) {
        if (!index_.emplace(LowerAscii(addOn.id), addOns_.size()).second) {
            ++skipped_;
            if (problems_.size() < 20) {
                problems_.push_back("id " + addOn.id +
                                    " is listed twice: the later entry is ignored");
            }
            continue;
        }
        addOns_.push_back(std::move(addOn));
    }
}

const AddOn* Catalogue::Find(std::string_view id) const {
    const auto found = index_.find(LowerAscii(id));
    return found == index_.end() ? nullptr : &addOns_[found->second];
}

}  // namespace fenmar::addons
