#include "addons/Play.h"

#include "addons/Download.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace fenmar::addons {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return platform::EqualsIgnoringAsciiCase(a, b);
}

// A game patch may name a folder below the Quake directory ("mods/ctf"), never one outside.
bool SafePatch(std::string_view patch) {
    return !patch.empty() && !platform::IsAbsoluteOrClimbing(patch) &&
           patch.find(':') == std::string_view::npos;
}

std::string QuoteIfNeeded(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t") == std::string::npos) {
        return word;
    }
    return '"' + word + '"';
}

// The first component of zipbasedir when it names a folder of its own (not id1).
std::string ModFolder(const std::string& zipBaseDir) {
    std::string_view dir = zipBaseDir;
    while (dir.starts_with("./") || dir.starts_with("/")) {
        dir.remove_prefix(dir.front() == '.' ? 2 : 1);
    }
    const std::string_view first = dir.substr(0, dir.find('/'));
    if (first.empty() || first == "." || EqualsIgnoringCase(first, "id1")) {
        return {};
    }
    return std::string(first);
}

bool MapInstalled(const std::string& quakeDir, const std::string& patch, const std::string& map) {
    const std::string game = platform::ResolveIgnoringCase(quakeDir, patch.empty() ? "id1" : patch);
    const std::string maps = platform::ResolveIgnoringCase(game, "maps");
    return platform::FindEntryIgnoringCase(maps, map + ".bsp").has_value();
}

}  // namespace

PlayPlan PlanPlay(const AddOn& addOn, std::string_view chosenMap, const std::string& quakeDir) {
    PlayPlan plan;
    std::vector<std::string> rest;
    std::string lineMap;
    const std::vector<std::string> words = platform::SplitCommandLine(addOn.commandLine);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (EqualsIgnoringCase(words[i], "-game") && i + 1 < words.size()) {
            plan.gamePatch = words[++i];
        } else if (EqualsIgnoringCase(words[i], "+map") && i + 1 < words.size()) {
            lineMap = words[++i];
        } else {
            rest.push_back(words[i]);
        }
    }
    if (plan.gamePatch.empty()) {
        plan.gamePatch = ModFolder(addOn.zipBaseDir);
    }
    if (!plan.gamePatch.empty() && !SafePatch(plan.gamePatch)) {
        plan.error = "The game folder of " + addOn.id + " is not usable: " + plan.gamePatch;
        return plan;
    }
    for (const std::string& word : rest) {
        if (!plan.additionalParameters.empty()) {
            plan.additionalParameters += ' ';
        }
        plan.additionalParameters += QuoteIfNeeded(word);
    }
    if (!lineMap.empty()) {
        plan.maps.push_back(lineMap);
    } else {
        plan.maps = addOn.startMaps;
        if (!addOn.startMapsGiven && !quakeDir.empty() &&
            (plan.maps.empty() || !MapInstalled(quakeDir, plan.gamePatch, plan.maps.front()))) {
            plan.maps.clear();
        }
    }
    std::erase_if(plan.maps, [](const std::string& map) { return !IsPlainFileName(map); });
    if (!chosenMap.empty()) {
        if (!IsPlainFileName(chosenMap)) {
            plan.error = "Not a map name: " + std::string(chosenMap);
            return plan;
        }
        plan.map = std::string(chosenMap);
    } else if (plan.maps.size() == 1) {
        plan.map = plan.maps.front();
    }
    return plan;
}

}  // namespace fenmar::addons
