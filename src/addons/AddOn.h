#pragma once
// One release of the community catalogue, and the catalogue as read. Texts are UTF-8 as the
// catalogue holds them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fenmar::addons {

// The catalogue's "type" numbers.
enum class AddOnType : int { Unknown = 0, Map = 1, Mod = 2, SpeedMap = 4, Misc = 5 };
// "map", "mod", "speedmap", "misc" or "-".
std::string_view TypeName(AddOnType type);

// A release date; all zero when the catalogue gave none or one that does not parse.
struct AddOnDate {
    int year = 0;
    int month = 0;
    int day = 0;

    bool Valid() const { return year != 0; }
    // yyyymmdd, 0 for no date: sorts by date.
    std::int32_t SortKey() const { return year * 10000 + month * 100 + day; }
    // "yyyy-mm-dd", or "" for no date.
    std::string Text() const;
    friend bool operator==(const AddOnDate&, const AddOnDate&) = default;
};
// "dd.mm.yyyy" or "dd.mm.yy" (two-digit years: 00-69 are 20xx, 70-99 are 19xx); anything
// else, or a day that does not exist, gives no date.
AddOnDate ParseAddOnDate(std::string_view text);

struct AddOn {
    std::string id;  // the zip's name without ".zip"; a plain file name
    AddOnType type = AddOnType::Unknown;
    std::optional<double> rating;       // 0-5; none where the catalogue's is empty
    std::optional<double> usersRating;  // "normalized_users_rating"; none where absent
    std::string author;
    std::string title;
    std::string md5;            // lower-case hex as given; "" when absent
    std::int64_t sizeKiB = -1;  // -1 when absent or unreadable
    AddOnDate date;
    std::string descriptionHtml;  // HTML: show it without loading anything it links to
    std::string zipBaseDir;       // "/"-separated, relative ("" = the Quake directory itself)
    std::string commandLine;      // as given, e.g. "-game quoth -hipnotic"
    std::vector<std::string> startMaps;     // never empty: none given holds the id
    bool startMapsGiven = false;            // false: startMaps is the id, by default
    std::vector<std::string> requirements;  // ids, in the catalogue's order
    std::vector<std::string> tags;
};

// The releases in the catalogue's order, with an index by id (ids compare ignoring ASCII
// case, as file names on Windows do). A second release with an id already taken is dropped
// and counted as skipped.
class Catalogue {
public:
    Catalogue() = default;
    explicit Catalogue(std::vector<AddOn> addOns, std::size_t skipped = 0,
                       std::vector<std::string> problems = {});

    const std::vector<AddOn>& AddOns() const { return addOns_; }
    std::size_t Size() const { return addOns_.size(); }
    bool Empty() const { return addOns_.empty(); }
    const AddOn* Find(std::string_view id) const;

    // Releases the reader could not take (damaged beyond repair, duplicates, over a bound).
    std::size_t Skipped() const { return skipped_; }
    // A few of the reasons, for a message ("entry 12 (id foo): ..."); at most 20.
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    std::vector<AddOn> addOns_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-cased id -> position
    std::size_t skipped_ = 0;
    std::vector<std::string> problems_;
};

}  // namespace fenmar::addons
