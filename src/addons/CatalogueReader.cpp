#include "addons/CatalogueReader.h"

#include <QXmlStreamReader>

#include <charconv>
#include <filesystem>
#include <fstream>

#include "addons/Download.h"
#include "addons/XmlSlices.h"

namespace fenmar::addons {

namespace {

constexpr std::size_t kMaxProblems = 20;

std::string Std(QStringView text) {
    return text.toString().toStdString();
}

std::string Trimmed(const QString& text) {
    return text.trimmed().toStdString();
}

std::optional<double> Number(QStringView text) {
    const std::string value = Std(text.trimmed());
    double number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size()) {
        return std::nullopt;
    }
    return number;
}

std::string Md5Text(const QString& text) {
    const std::string value = text.trimmed().toLower().toStdString();
    if (value.size() != 32 || value.find_first_not_of("0123456789abcdef") != std::string::npos) {
        return {};
    }
    return value;
}

// "./id1/maps/" -> "id1/maps": '/'-separated, no leading "./" or "/", no trailing '/'.
std::string BaseDir(const QString& text) {
    std::string dir = Trimmed(text);
    for (char& c : dir) {
        if (c == '\\') {
            c = '/';
        }
    }
    while (dir.starts_with("./") || dir.starts_with("/")) {
        dir.erase(0, dir.front() == '.' ? 2 : 1);
    }
    while (!dir.empty() && dir.back() == '/') {
        dir.pop_back();
    }
    return dir == "." ? std::string() : dir;
}

// The text of the current element, child elements' text included; an entity the reader
// cannot resolve fails the release.
QString Text(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::IncludeChildElements);
}

void ReadRequirements(QXmlStreamReader& xml, AddOn& addOn) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("file")) {
            const std::string id = Trimmed(xml.attributes().value("id").toString());
            if (!id.empty()) {
                addOn.requirements.push_back(id);
            }
        }
        xml.skipCurrentElement();
    }
}

void ReadTechInfo(QXmlStreamReader& xml, AddOn& addOn) {
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == QLatin1String("zipbasedir")) {
            addOn.zipBaseDir = BaseDir(Text(xml));
        } else if (name == QLatin1String("commandline")) {
            addOn.commandLine = Trimmed(Text(xml));
        } else if (name == QLatin1String("startmap")) {
            std::string map = Trimmed(Text(xml));
            if (!map.empty()) {
                addOn.startMaps.push_back(std::move(map));
            }
        } else if (name == QLatin1String("requirements")) {
            ReadRequirements(xml, addOn);
        } else {
            xml.skipCurrentElement();
        }
    }
}

void ReadTags(QXmlStreamReader& xml, AddOn& addOn) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("tag")) {
            std::string tag = Trimmed(Text(xml));
            if (!tag.empty()) {
                addOn.tags.push_back(std::move(tag));
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

void ReadFields(QXmlStreamReader& xml, AddOn& addOn) {
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == QLatin1String("author")) {
            addOn.author = Trimmed(Text(xml));
        } else if (name == QLatin1String("title")) {
            addOn.title = Trimmed(Text(xml));
        } else if (name == QLatin1String("md5sum")) {
            addOn.md5 = Md5Text(Text(xml));
        } else if (name == QLatin1String("size")) {
            const std::optional<double> size = Number(Text(xml));
            if (size && *size >= 0 && *size < 1e12) {
                addOn.sizeKiB = static_cast<std::int64_t>(*size);
            }
        } else if (name == QLatin1String("date")) {
            addOn.date = ParseAddOnDate(Trimmed(Text(xml)));
        } else if (name == QLatin1String("description")) {
            addOn.descriptionHtml = Trimmed(Text(xml));
        } else if (name == QLatin1String("techinfo")) {
            ReadTechInfo(xml, addOn);
        } else if (name == QLatin1String("tags")) {
            ReadTags(xml, addOn);
        } else {
            xml.skipCurrentElement();
        }
    }
}

AddOnType TypeOf(QStringView text) {
    const std::optional<double> number = Number(text);
    // Only small numbers are types; a huge or non-finite one would not fit an int.
    if (!number || !(*number >= 0 && *number < 100)) {
        return AddOnType::Unknown;
    }
    switch (static_cast<int>(*number)) {
        case 1:
            return AddOnType::Map;
        case 2:
            return AddOnType::Mod;
        case 4:
            return AddOnType::SpeedMap;
        case 5:
            return AddOnType::Misc;
        default:
            return AddOnType::Unknown;
    }
}

// One release from its own small document; the error text when it does not parse.
std::string ParseRelease(const QByteArray& document, AddOn& addOn) {
    QXmlStreamReader xml(document);
    xml.setNamespaceProcessing(false);
    xml.setEntityExpansionLimit(64);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("file")) {
        return "no <file> element";
    }
    const QXmlStreamAttributes attributes = xml.attributes();
    addOn.id = Trimmed(attributes.value("id").toString());
    addOn.type = TypeOf(attributes.value("type"));
    addOn.rating = Number(attributes.value("rating"));
    if (attributes.hasAttribute("normalized_users_rating")) {
        addOn.usersRating = Number(attributes.value("normalized_users_rating"));
    }
    ReadFields(xml, addOn);
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
    }
    if (xml.hasError()) {
        return xml.errorString().toStdString() + " (line " + std::to_string(xml.lineNumber()) + ")";
    }
    if (!IsPlainFileName(addOn.id)) {
        return "the id \"" + addOn.id + "\" is not a plain file name";
    }
    if (addOn.startMaps.empty()) {
        addOn.startMaps.push_back(addOn.id);
    } else {
        addOn.startMapsGiven = true;
    }
    return {};
}

QByteArray Document(std::string_view declaration, std::string_view entry) {
    QByteArray document;
    document.reserve(static_cast<qsizetype>(declaration.size() + entry.size()));
    document.append(declaration.data(), static_cast<qsizetype>(declaration.size()));
    document.append(entry.data(), static_cast<qsizetype>(entry.size()));
    return document;
}

}  // namespace

CatalogueResult XmlCatalogueReader::Read(std::string_view bytes, const ReadLimits& limits) const {
    detail::XmlSlices slices = detail::SliceCatalogue(bytes, limits);
    if (!slices.error.empty()) {
        return {{}, slices.error};
    }
    std::vector<AddOn> addOns;
    addOns.reserve(slices.entries.size());
    std::size_t skipped = slices.skipped;
    std::vector<std::string> problems = std::move(slices.problems);
    for (std::size_t i = 0; i < slices.entries.size(); ++i) {
        const std::string_view entry = slices.entries[i];
        AddOn addOn;
        std::string error = ParseRelease(Document(slices.declaration, entry), addOn);
        if (!error.empty()) {
            addOn = AddOn{};
            const std::string repaired = detail::RepairRelease(entry);
            if (repaired != entry) {
                error = ParseRelease(Document(slices.declaration, repaired), addOn);
            }
        }
        if (!error.empty()) {
            ++skipped;
            if (problems.size() < kMaxProblems) {
                problems.push_back("release " + std::to_string(i + 1) +
                                   (addOn.id.empty() ? std::string() : " (" + addOn.id + ")") +
                                   ": " + error);
            }
            continue;
        }
        addOns.push_back(std::move(addOn));
    }
    return {Catalogue(std::move(addOns), skipped, std::move(problems)), {}};
}

std::unique_ptr<CatalogueReader> ReaderFor(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    for (const char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        if (c == '<') {
            return std::make_unique<XmlCatalogueReader>();
        }
        break;
    }
    return nullptr;
}

CatalogueResult ReadCatalogue(std::string_view bytes, const ReadLimits& limits) {
    const std::unique_ptr<CatalogueReader> reader = ReaderFor(bytes);
    if (!reader) {
        return {{}, "The catalogue is in a format Fenmar does not read"};
    }
    return reader->Read(bytes, limits);
}

CatalogueResult ReadCatalogueFile(const std::string& path, const ReadLimits& limits) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        return {{}, "Cannot read the catalogue " + path};
    }
    if (size > limits.maxBytes) {
        return {{}, "The catalogue " + path + " is too large: refused"};
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return {{}, "Cannot read the catalogue " + path};
    }
    return ReadCatalogue(bytes, limits);
}

}  // namespace fenmar::addons
