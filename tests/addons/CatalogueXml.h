#pragma once
// Catalogue documents for the add-on tests and benchmarks, written the way the archive's
// generator writes them (descriptions in CDATA, dates as dd.mm.yyyy).

#include <cstddef>
#include <string>
#include <vector>

namespace fenmar::test {

struct CatalogueItem {
    std::string id;
    int type = 1;
    std::string title;
    std::string author = "someone";
    std::string zipBaseDir = "id1/";
    std::string commandLine;
    std::vector<std::string> startMaps;
    std::vector<std::string> requirements;
    std::string md5;
    long long sizeKiB = 1;
    std::string date = "01.02.2010";
    std::string rating = "4";
};

inline CatalogueItem Item(std::string id, std::string title = "A title",
                          std::string author = "someone") {
    CatalogueItem item;
    item.id = std::move(id);
    item.title = std::move(title);
    item.author = std::move(author);
    return item;
}

// Title and author are put in as given: pass "&amp;" for an escaped '&', "&" for a bare one.
inline std::string CatalogueEntryXml(const CatalogueItem& item) {
    std::string xml =
        "<file id=\"" + item.id + "\" type=\"" + std::to_string(item.type) + "\" rating=\"" +
        item.rating + "\">\n  <author>" + item.author + "</author>\n  <title>" + item.title +
        "</title>\n  <md5sum>" + item.md5 + "</md5sum>\n  <size>" + std::to_string(item.sizeKiB) +
        "</size>\n  <date>" + item.date + "</date>\n  <description><![CDATA[<p>About " + item.id +
        " & more</p>]]></description>\n  <techinfo>\n    <zipbasedir>" + item.zipBaseDir +
        "</zipbasedir>\n    <commandline>" + item.commandLine + "</commandline>\n";
    for (const std::string& map : item.startMaps) {
        xml += "    <startmap>" + map + "</startmap>\n";
    }
    if (!item.requirements.empty()) {
        xml += "    <requirements>\n";
        for (const std::string& id : item.requirements) {
            xml += "      <file id=\"" + id + "\" />\n";
        }
        xml += "    </requirements>\n";
    }
    xml += "  </techinfo>\n  <tags><tag>sp</tag></tags>\n</file>\n";
    return xml;
}

inline std::string CatalogueXml(const std::vector<std::string>& entries) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<files>\n";
    for (const std::string& entry : entries) {
        xml += entry;
    }
    return xml + "</files>\n";
}

inline std::string CatalogueXml(const std::vector<CatalogueItem>& items) {
    std::vector<std::string> entries;
    for (const CatalogueItem& item : items) {
        entries.push_back(CatalogueEntryXml(item));
    }
    return CatalogueXml(entries);
}

// `count` releases like the archive's, every tenth with a bare '&' in its title.
inline std::string SyntheticCatalogue(std::size_t count) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < count; ++i) {
        CatalogueItem item;
        item.id = "release" + std::to_string(i);
        item.type = i % 7 == 0 ? 2 : 1;
        item.title = "Quite a long title number " + std::to_string(i) +
                     (i % 10 == 0 ? " & friends" : " of the series");
        item.author = "Author " + std::to_string(i % 300);
        item.startMaps = {"start" + std::to_string(i)};
        item.sizeKiB = static_cast<long long>(1000 + i);
        item.md5 = "0123456789abcdef0123456789abcdef";
        entries.push_back(CatalogueEntryXml(item));
    }
    return CatalogueXml(entries);
}

}  // namespace fenmar::test
