// --list-quicksets, --print-command-line [NAME] and --run [NAME].

#include <algorithm>
#include <ostream>

#include "cli/CommandLineInterface.h"
#include "cli/HeadlessLaunch.h"
#include "core/DesktopEntry.h"
#include "core/GameStart.h"
#include "core/InstallLayout.h"
#include "platform/FileSystem.h"

namespace fenmar::cli {

namespace {

int ListQuickSets(CliCall& call) {
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
    const std::vector<std::string> args = call.Arguments();
    if (args.size() > 1) {
        return {{},
                call.UsageError(std::string(option) + " takes one Quick-Set name; quote a "
                                                      "name with blanks")};
    }
    if (args.empty()) {
        return {};
    }
    const std::optional<std::string> stored = FindQuickSet(store, args.front());
    if (!stored) {
        return {{},
                call.UsageError("unknown Quick-Set '" + args.front() +
                                "' (--list-quicksets lists them)")};
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
    cli.DescribeArguments(QStringLiteral("NAME"),
                          QStringLiteral("A Quick-Set; \"--\" before a name that begins with "
                                         "\"-\"."),
                          QStringLiteral("[NAME]"));
}

}  // namespace fenmar::cli
