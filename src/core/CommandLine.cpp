#include "core/CommandLine.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace fenmar {

namespace {

std::string Num(unsigned value) {
    return std::to_string(value);
}

// The map name: the map entry cut before its first blank.
std::string MapNameOf(const std::string& entry) {
    return entry.substr(0, entry.find(' '));
}

// Appends the switch of each profile flag that is set (nonzero), in the order given.
void AppendSwitches(std::initializer_list<std::pair<std::uint8_t, const char*>> switches,
                    std::string& l) {
    for (const auto& [flag, text] : switches) {
        if (flag != 0) {
            l += text;
        }
    }
}

void AppendTroubleshooting(const LaunchProfile& p, std::string& l) {
    if (p.SafeMode) {
        l += " -safe";
        return;
    }
    AppendSwitches({{p.DisableVESA, " -stdvid"},
                    {p.NoProtocols, " -nolan"},
                    {p.MuteAll, " -nosound"},
                    {p.DisableCDAudio, " -nocdaudio"},
                    {p.NoJoystick, " -nojoy"}},
                   l);
}

void AppendSound(const LaunchProfile& p, std::string& l) {
    if (p.MuteAll) {
        return;
    }
    if (p.SampleRate != 11025)
        l += " -sspeed " + Num(p.SampleRate);
    if (p.ForceCDMediaCheck)
        l += " -cdmediacheck";
}

void AppendNetwork(const LaunchProfile& p, std::string& l) {
    if (p.NoProtocols) {
        return;
    }
    AppendSwitches(
        {{p.DisableTCPIP, " -noudp"}, {p.DisableIPX, " -noipx"}, {p.DisableSerial, " -noserial"}},
        l);
    if (p.IPXPort != 26000)
        l += " -ipxport " + Num(p.IPXPort);
    if (p.UDPPort != 26000)
        l += " -udpport " + Num(p.UDPPort);
}

void AppendMemory(const LaunchProfile& p, std::string& l) {
    if (p.LockMethod < 3 && p.AllocateMem != 8) {
        l += " -winmem " + Num(p.AllocateMem);
    }
    switch (p.LockMethod) {
        case 1:
            l += " -winlock";
            break;
        case 2:
            l += " -winlockunlock";
            break;
        case 4:
            l += " -heapsize " + Num(p.AllocateMem);
            break;
        default:
            break;
    }
}

void AppendServer(const LaunchProfile& p, const AllowList& a, const std::string& hostName,
                  std::string& l) {
    if (a[ALLOW_SERVER] && p.EnableServer) {
        l += p.ServerType == 0 ? " -listen" : " -dedicated";
        if (p.MaxPlayers != 8)
            l += " " + Num(p.MaxPlayers);
        if (IsSet(hostName))
            l += " +hostname \"" + hostName + "\"";
    }
    if (!p.EnableServer) {
        return;  // the rules follow the server switch alone, not allow-list entry 5
    }
    if (a[ALLOW_FRAGLIMIT] && p.EnableFragLimit && p.FragLimit != 0) {
        l += " +fraglimit " + Num(p.FragLimit);
    }
    if (a[ALLOW_TIMELIMIT] && p.EnableTimeLimit && p.TimeLimit != 0) {
        l += " +timelimit " + Num(p.TimeLimit);
    }
    if (a[ALLOW_DEATHMATCH]) {
        if (p.Deathmatch == 0)
            l += " +coop 1";
        if (p.Deathmatch == 2)
            l += " +deathmatch 2";
    }
    if (a[ALLOW_TEAMPLAY] && p.Teamplay != 0)
        l += " +teamplay " + Num(p.Teamplay);
    if (a[ALLOW_NOEXIT] && p.NoExit)
        l += " +noexit 1";
    if (a[ALLOW_PAUSABLE] && !p.Pausable)
        l += " +pausable 0";
}

}  // namespace

std::string ConfigFileFailedMessage(const std::string& path) {
    return "The config file \"" + path +
           "\" could not be written. All parameters stay on the command line.";
}

std::string ComposeCommandLine(Globals& globals, const ExecutableTable& table,
                               const ComposeInputs& inputs, ActivePlugInQueries* plugIn,
                               const std::function<void(const std::string&)>& showMessage) {
    return ComposeLaunch(globals, table, inputs, plugIn, showMessage).line;
}

ComposedLaunch ComposeLaunch(Globals& globals, const ExecutableTable& table,
                             const ComposeInputs& inputs, ActivePlugInQueries* plugIn,
                             const std::function<void(const std::string&)>& showMessage) {
    LiveProfile& profile = globals.Profile;
    const AllowList a = [&] {
        if (plugIn && plugIn->IsLoaded()) {
            if (auto list = plugIn->QueryAllowList()) {
                return *list;
            }
        }
        return DefaultAllowList;
    }();
    const std::string map = MapNameOf(profile.Text(TextField::LaunchMap));

    ComposedLaunch launch;
    std::string& l = launch.line;
    const std::string quakePath = profile.Text(TextField::QuakePath);
    launch.workingDirectory = quakePath;
    const std::string quakePrefix =
        quakePath.empty() ? std::string() : platform::JoinPath(quakePath, "");
    if (!inputs.shownExecutable || inputs.shownExecutable->empty()) {
        if (showMessage) {
            showMessage(kNoExecutableMessage);
        }
        l = quakePrefix;
    } else {
        launch.hasExecutable = true;
        launch.executableName = *inputs.shownExecutable;
        const std::string file = ExecutableFileOf(table, *inputs.shownExecutable);
        launch.program =
            inputs.searchPath
                ? ResolveEngineProgram(quakePath, file, *inputs.searchPath, inputs.searchExtensions)
                : ResolveEngineProgram(quakePath, file);
        if (launch.program.place == ProgramPlace::QuakeDirectoryFile) {
            l = quakePrefix + file;
            launch.programText = l;
        } else {
            // An engine elsewhere is named by its full path and told where the game is.
            l = launch.program.path;
            launch.programText = l;
            if (!launch.program.insideQuakeDirectory && !quakePath.empty()) {
                l += " -basedir " + platform::QuoteCommandLineWord(BaseDirectoryOf(quakePath));
            }
            launch.headLength = l.size();
        }
    }

    AppendTroubleshooting(profile.Record(), l);
    AppendSound(profile.Record(), l);
    AppendNetwork(profile.Record(), l);
    AppendMemory(profile.Record(), l);

    const std::string patch = profile.Text(TextField::GamePatch);
    if (a[ALLOW_PATCH] && IsSet(patch)) {
        l += " -game " + patch;
    }
    if (!globals.IgnoreGlobalParams) {
        for (const auto& param : inputs.globalParams) {
            l += " " + param;
        }
    }
    AppendServer(profile.Record(), a, inputs.hostName, l);
    if (a[ALLOW_SKILL] && globals.SkillSelectable && profile->SkillLevel != 1) {
        l += " +skill " + Num(profile->SkillLevel);
    }
    if (plugIn && plugIn->IsLoaded()) {
        // The plug-in may change the profile here; everything below reads the new values.
        l += " " + plugIn->GetParams(globals);
    }

    const LaunchProfile& p = profile.Record();
    const std::string demo = profile.Text(TextField::DemoName);
    if (p.DemoState != 0 && IsSet(demo)) {
        if (a[ALLOW_RECORD] && p.DemoState == 2) {
            l += " +record " + demo;
            if (!p.ConnectToServer && IsSet(map))
                l += " " + map;
        }
        if (a[ALLOW_PLAYBACK] && p.DemoState == 1)
            l += " +playdemo " + demo;
    }
    if (a[ALLOW_CONNECT] && p.ConnectToServer) {
        l += " +connect";
        const std::string server = profile.Text(TextField::CurrentServer);
        if (IsSet(server))
            l += " " + server;
    }
    if (p.NoAutoAim && !p.ConnectToServer && p.DemoState != 1)
        l += " +sv_aim 1";
    for (const auto& param : inputs.additionalParams) {
        l += " " + param;
    }
    if (a[ALLOW_MAP] && globals.MapSelectable && IsSet(map) && p.DemoState == 0) {
        l += " +map " + map;
    }
    const std::string configFile = profile.Text(TextField::ConfigFile);
    if (p.CommandLineMode == 1 && IsSet(configFile) && inputs.writeConfigFile &&
        WriteConfigFile(profile, l, launch.headLength) == ConfigFileResult::NotWritten &&
        !quakePath.empty() && showMessage) {
        // Without a Quake directory there is nowhere to write to, and nothing to tell.
        showMessage(ConfigFileFailedMessage(ConfigFilePath(profile).value_or(configFile)));
    }
    return launch;
}

std::optional<std::string> ConfigFilePath(const LiveProfile& profile) {
    const std::string name = profile.Text(TextField::ConfigFile);
    const std::string quakePath = profile.Text(TextField::QuakePath);
    if (quakePath.empty() || platform::IsAbsoluteOrClimbing(name)) {
        return std::nullopt;  // never id1 of whatever directory the launcher runs in
    }
    const std::string id1 = platform::ResolveIgnoringCase(quakePath, "id1");
    return platform::JoinPath(id1, name);
}

// Cuts the line after the executable into groups: a group starts at a word beginning with
// "+" or "-" and runs up to the next blank that is directly followed by "+" or "-". Groups
// starting with "+" become lines of the file (without the "+") and leave the line together
// with the blank after them; all other groups stay. When anything moved, the rest is trimmed
// and ends with " +exec " and the file's name.
ConfigFileSplit SplitForConfigFile(const std::string& line, std::size_t headLength,
                                   const std::string& configFile) {
    ConfigFileSplit split;
    std::string rest = line;
    const std::size_t start = headLength > 0 ? headLength : rest.find(' ');
    if (start != std::string::npos && start < rest.size()) {
        std::size_t pos = start + 1;
        while (pos < rest.size()) {
            std::size_t end = pos;
            while (end < rest.size() && !(rest[end] == ' ' && end + 1 < rest.size() &&
                                          (rest[end + 1] == '+' || rest[end + 1] == '-'))) {
                ++end;
            }
            if (rest[pos] != '+') {
                pos = end + 1;
                continue;
            }
            split.lines.push_back(rest.substr(pos + 1, end - pos - 1));
            rest.erase(pos, end - pos + (end < rest.size() ? 1 : 0));
        }
    }
    if (split.lines.empty()) {
        split.line = line;
        return split;
    }
    std::size_t b = 0;
    std::size_t e = rest.size();
    while (b < e && static_cast<unsigned char>(rest[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(rest[e - 1]) <= 32) --e;
    split.line = rest.substr(b, e - b) + " +exec " + configFile;
    return split;
}

// The file is created anew; when nothing was moved it is deleted again. A file error keeps
// the whole line as it was and removes the partial file: the game then gets every command on
// its line rather than losing those already moved.
ConfigFileResult WriteConfigFile(const LiveProfile& profile, std::string& line,
                                 std::size_t headLength) {
    const auto path = ConfigFilePath(profile);
    if (!path) {
        return ConfigFileResult::NotWritten;  // treated like a file that cannot be created
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path->c_str(), "wb"),
                                                         std::fclose);
    if (!file) {
        return ConfigFileResult::NotWritten;
    }
    const auto fail = [&] {
        file.reset();
        platform::RemoveFile(*path);
        return ConfigFileResult::NotWritten;
    };
    ConfigFileSplit split =
        SplitForConfigFile(line, headLength, profile.Text(TextField::ConfigFile));
    for (const std::string& fileLine : split.lines) {
        const std::string text = fileLine + "\r\n";
        if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
            return fail();
        }
    }
    if (std::fflush(file.get()) != 0 || std::ferror(file.get()) != 0) {
        return fail();
    }
    if (std::fclose(file.release()) != 0) {
        platform::RemoveFile(*path);
        return ConfigFileResult::NotWritten;
    }
    if (split.lines.empty()) {
        platform::RemoveFile(*path);
        return ConfigFileResult::NothingToMove;
    }
    line = std::move(split.line);
    return ConfigFileResult::Written;
}

}  // namespace fenmar
