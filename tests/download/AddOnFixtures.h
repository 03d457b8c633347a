#pragma once
// A catalogue and its zips built by the tests and served by the loopback server:
// "/catalogue.xml" and "/filebase/<id>.zip", as the community archive lays them out.

#include <QCryptographicHash>
#include <filesystem>
#include <string>
#include <vector>

#include "LoopbackHttpServer.h"
#include "TempDir.h"
#include "ZipFiles.h"

namespace fenmar::test {

struct Release {
    std::string id{};
    int type = 1;
    std::string title{};
    std::string zipBaseDir{};
    std::string commandLine{};
    std::vector<std::string> startMaps{};
    std::vector<std::string> requirements{};
    std::vector<ZipItem> files{};
    std::string md5{};  // empty: the zip's own
    LoopbackHttpServer::Route::Mode mode = LoopbackHttpServer::Route::Mode::Whole;
};

inline std::string ZipBytes(const TempDir& dir, const Release& release) {
    const std::filesystem::path file = dir.Path() / "zips" / (release.id + ".zip");
    WriteZip(file, release.files);
    return Slurp(file);
}

// Serves the releases' zips and a catalogue listing them; returns the catalogue's address.
inline QString Publish(LoopbackHttpServer& server, const TempDir& dir,
                       const std::vector<Release>& releases) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<files>\n";
    for (const Release& r : releases) {
        const std::string zip = ZipBytes(dir, r);
        const QByteArray bytes(zip.data(), static_cast<qsizetype>(zip.size()));
        server.Serve(QString::fromStdString("/filebase/" + r.id + ".zip"),
                     LoopbackHttpServer::Route{bytes, 200, {}, r.mode});
        const std::string md5 =
            r.md5.empty()
                ? QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toStdString()
                : r.md5;
        xml += "<file id=\"" + r.id + "\" type=\"" + std::to_string(r.type) +
               "\" rating=\"4.5\">\n<author>Tester</author>\n<title>" + r.title +
               "</title>\n<md5sum>" + md5 + "</md5sum>\n<size>" +
               std::to_string((zip.size() + 512) / 1024) +
               "</size>\n<date>04.03.21</date>\n<description><![CDATA[<b>" + r.title +
               "</b> <img src=\"" + server.Url("/x.png").toStdString() +
               "\">]]></description>\n<techinfo>\n";
        if (!r.zipBaseDir.empty())
            xml += "<zipbasedir>" + r.zipBaseDir + "</zipbasedir>\n";
        if (!r.commandLine.empty())
            xml += "<commandline>" + r.commandLine + "</commandline>\n";
        for (const std::string& map : r.startMaps) xml += "<startmap>" + map + "</startmap>\n";
        if (!r.requirements.empty()) {
            xml += "<requirements>";
            for (const std::string& id : r.requirements) xml += "<file id=\"" + id + "\" />";
            xml += "</requirements>\n";
        }
        xml += "</techinfo>\n</file>\n";
    }
    xml += "</files>\n";
    server.Serve("/catalogue.xml", QByteArray::fromStdString(xml));
    return server.Url("/catalogue.xml");
}

// A mod and a map that needs it: the map's command line names the mod, two start maps.
inline std::vector<Release> ModAndMap() {
    return {
        {"mymod",
         2,
         "My Mod",
         "mymod/",
         "-game mymod",
         {},
         {},
         {{"pak0.pak", std::string(3000, 'p')}, {"progs.dat", "progs"}}},
        {"mymap",
         1,
         "My Map",
         "mymod/maps",
         "-game mymod -nomonsters",
         {"first", "second"},
         {"mymod"},
         {{"first.bsp", std::string(5000, 'f')},
          {"second.bsp", "second map"},
          {"mymap.txt", "read me"}}},
    };
}

}  // namespace fenmar::test
