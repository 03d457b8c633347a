// --list-quicksets, --print-command-line [NAME] and --run [NAME].

#include <algorithm>
#include <ostream>

#include "cli/CommandLineInterface.h"
#include "cli/HeadlessLaunch.h"
#include "core/DesktopEntry.h"
#include "core/EngineProgram.h"
#include "core/GameStart.h"
#include "core/InstallLayout.h"
#include "platform/FileSystem.h"
#include "platform/ProgramSearch.h"

namespace fenmar::cli {

namespace {

const QString kHexNameOption = QStringLiteral("hex-name");

// A usage error for any option on the line other than the action `option` ("--run"): a
// modifier of another action (--patch) would otherwise be ignored without a word. -1 when
// there is none.
int RefuseOtherOptions(CliCall& call, const char* option, bool takesHexName = false) {
    for (const QString& name : call.Parser().optionNames()) {
        const std::string given = "--" + name.toLocal8Bit().toStdString();
        const bool modifier = given == "--hex-name" || given == "--gui-errors";
        if (given != option && !(takesHexName && modifier)) {
            return call.UsageError(std::string(option) + " does not take " + given);
        }
    }
    return -1;
}

int ListQuickSets(CliCall& call) {
    if (const int refused = RefuseOtherOptions(call, "--list-quicksets"); refused >= 0) {
        return refused;
    }
    if (!call.Arguments().empty()) {
        return call.UsageError("--list-quicksets takes no argument");
    }
    store::Store* store = call.Store();
    if (store == nullptr) {
        return kExitFailed;
    }
    for (const std::string& name : QuickSetNames(*store)) {
        call.Out() << name << "\n";
    }
    return kExitOk;
}

// The Quick-Set named on the line ("" for the working profile), or an error status.
struct Target {
    std::string quickSet;
    int error = -1;
};

Target ChooseQuickSet(CliCall& call, store::Store& store, const char* option) {
    if (const int refused = RefuseOtherOptions(call, option, true); refused >= 0) {
        return {{}, refused};
    }
    const std::vector<std::string> args = call.Arguments();
    if (args.size() > 1) {
        return {{},
                call.UsageError(std::string(option) + " takes one Quick-Set name; quote a "
                                                      "name with blanks")};
    }
    if (args.empty()) {
        return {};
    }
    std::string name = args.front();
    if (call.Parser().isSet(kHexNameOption)) {
        const std::optional<std::string> bytes = BytesFromHex(name);
        if (!bytes) {
            return {{}, call.UsageError("--hex-name takes pairs of hexadecimal digits")};
        }
        name = *bytes;
    }
    const std::optional<std::string> stored = FindQuickSet(store, name);
    if (!stored) {
        return {{},
                call.UsageError("unknown Quick-Set '" + name + "' (--list-quicksets lists them)")};
    }
    return {*stored};
}

void PrintNotices(CliCall& call, const std::vector<std::string>& notices) {
    for (const std::string& notice : notices) {
        call.Err() << "fenmar: " << notice << "\n";
    }
}

// Loads the Quick-Set that `option` names into a launch without a window and hands it to
// `body`; the exit code of the first failure otherwise.
int WithLoadedQuickSet(CliCall& call, const char* option,
                       int (*body)(CliCall& call, HeadlessLaunch& launch)) {
    store::Store* store = call.Store();
    if (store == nullptr) {
        return kExitFailed;
    }
    const Target target = ChooseQuickSet(call, *store, option);
    if (target.error >= 0) {
        return target.error;
    }
    HeadlessLaunch launch(*store, PlugInDirectoryFor(call.ProgramDir()));
    launch.Load(target.quickSet);
    const std::string quakePath = launch.Inputs().globals.Profile.Text(TextField::QuakePath);
    if (!quakePath.empty() && !platform::IsAbsolutePath(quakePath)) {
        // The window takes it from its own current directory too; here that may surprise.
        call.Err() << "fenmar: the Quake directory \"" << quakePath
                   << "\" is relative; it is taken from the current directory: "
                   << AbsolutePathOf(quakePath) << "\n";
    }
    return body(call, launch);
}

int PrintLoadedCommandLine(CliCall& call, HeadlessLaunch& launch) {
    std::vector<std::string> notices;
    const HeadlessLaunch::Preview preview = launch.ComposePreview(notices);
    PrintNotices(call, notices);
    call.Out() << preview.line << "\n";
    for (const std::string& line : preview.configLines) {
        call.Out() << "config file: " << line << "\n";
    }
    return kExitOk;
}

int PrintCommandLine(CliCall& call) {
    return WithLoadedQuickSet(call, "--print-command-line", PrintLoadedCommandLine);
}

}  // namespace

int RunLoaded(CliCall& call, HeadlessLaunch& launch) {
    const Globals& globals = launch.Inputs().globals;
    if (!launch.Executable()) {
        return call.Error("the executable \"" + globals.Executable +
                              "\" is not defined; choose one in the window first",
                          kExitUsage);
    }
    const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
    if (quakePath.empty() || !platform::DirectoryExists(quakePath)) {
        return call.Error(
            quakePath.empty()
                ? std::string("no Quake directory is set; choose one in the window first")
                : "the Quake directory \"" + quakePath + "\" does not exist",
            kExitUsage);
    }
    std::vector<std::string> notices;
    const ComposedLaunch composed = launch.Compose(notices);
    PrintNotices(call, notices);
    if (auto missing = MissingProgramMessage(composed)) {
        std::replace(missing->begin(), missing->end(), '\n', ' ');
        return call.Error(*missing, kExitFailed);
    }
    const platform::StartRequest request = GameStartRequest(composed);
    const platform::StartResult result = launch.Start(request);
    if (!result.started) {
        return call.Error("\"" + request.program + "\" could not be started: " + result.error,
                          kExitFailed);
    }
    return kExitOk;
}

namespace {

int Run(CliCall& call) {
    return WithLoadedQuickSet(call, "--run", RunLoaded);
}

// The desktop launcher the Quick-Set bar would write, on standard output.
int PrintDesktopEntry(CliCall& call) {
    store::Store* store = call.Store();
    if (store == nullptr) {
        return kExitFailed;
    }
    const std::vector<std::string> args = call.Arguments();
    if (args.size() != 1) {
        return call.UsageError("--desktop-entry takes one Quick-Set name");
    }
    const Target target = ChooseQuickSet(call, *store, "--desktop-entry");
    if (target.error >= 0) {
        return target.error;
    }
    call.Out() << DesktopEntryText(QuickSetShortcut(target.quickSet, call.ProgramPath(),
                                                    ApplicationIconFor(call.ProgramDir())));
    return kExitOk;
}

}  // namespace

void RegisterLaunchOptions(CommandLineInterface& cli) {
    cli.Register({QStringLiteral("list-quicksets"),
                  QStringLiteral("List the stored Quick-Sets, one a line.")},
                 ListQuickSets);
    cli.Register({QStringLiteral("print-command-line"),
                  QStringLiteral("Print the line \"run Quake !\" would start for Quick-Set NAME "
                                 "(the working profile without NAME), and in config-file mode "
                                 "the config file's lines. Writes nothing.")},
                 PrintCommandLine);
    cli.Register({QStringLiteral("run"),
                  QStringLiteral("Start the game with Quick-Set NAME (the working profile "
                                 "without NAME) as \"run Quake !\" does; saves no settings.")},
                 Run);
    cli.Register({QStringLiteral("desktop-entry"),
                  QStringLiteral("Print a desktop launcher that runs Quick-Set NAME.")},
                 PrintDesktopEntry);
    cli.RegisterModifier(
        {kHexNameOption, QStringLiteral("With --print-command-line, --run and --desktop-entry: "
                                        "NAME is given as hexadecimal bytes (launchers name "
                                        "Quick-Sets whose names are not plain text so).")});
    cli.RegisterModifier({QStringLiteral("gui-errors"),
                          QStringLiteral("With --print-command-line, --run and --desktop-entry: "
                                         "also show a failure in a message window when there is "
                                         "a display (desktop launchers use this).")});
    cli.DescribeArguments(QStringLiteral("NAME"),
                          QStringLiteral("A Quick-Set; \"--\" before a name that begins with "
                                         "\"-\"."),
                          QStringLiteral("[NAME]"));
}

}  // namespace fenmar::cli
