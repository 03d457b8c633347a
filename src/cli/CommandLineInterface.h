#pragma once
// The command line of fenmar: options registered with a handler each, parsed by
// QCommandLineParser, plain text out, one item a line. Exactly one action option per call.
// Exit status: 0 done, 1 the action failed, 2 wrong command line or settings that need a
// question the window would ask.
//
// Adding an option is one call to Register, for example
//     cli.Register({QStringLiteral("list-maps"), QStringLiteral("List the maps.")},
//                  [](CliCall& call) { ...; return kExitOk; });

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace fenmar::store {
class Store;
}

namespace fenmar::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// What a handler gets: the parsed line, its positional arguments, the output streams and the
// user's settings store (opened on first use).
class CliCall {
public:
    CliCall(const QCommandLineParser& parser, std::ostream& out, std::ostream& err,
            std::string programDir, std::function<store::Store*()> openStore);

    const QCommandLineParser& Parser() const { return parser_; }
    // The positional arguments, in the system's 8-bit encoding: the bytes as they were given
    // where the interface knows them (SetRawArguments), so names that are not valid text in
    // that encoding still match what the store holds.
    std::vector<std::string> Arguments() const;
    std::ostream& Out() { return out_; }
    std::ostream& Err() { return err_; }
    const std::string& ProgramDir() const { return programDir_; }
    // The program's absolute path (for launchers that start it again).
    std::string ProgramPath() const;
    // The settings store; null when it cannot be opened (the reason is already on Err()).
    store::Store* Store();

    // Prints "fenmar: MESSAGE", the usage, and returns kExitUsage.
    int UsageError(const std::string& message);
    // Prints "fenmar: MESSAGE" and returns `status`.
    int Error(const std::string& message, int status);

    std::function<std::string()> usage;                      // the help text, set by the interface
    const std::vector<std::string>* rawArguments = nullptr;  // argv as given, set likewise

private:
    const QCommandLineParser& parser_;
    std::ostream& out_;
    std::ostream& err_;
    std::string programDir_;
    std::function<store::Store*()> openStore_;
};

using CliHandler = std::function<int(CliCall&)>;

class CommandLineInterface {
public:
    CommandLineInterface();

    // An action option and what it does. Registration order is the order of the help text.
    void Register(const QCommandLineOption& option, CliHandler handler);
    // A plain option read by handlers (e.g. "--patch DIR"); it is no action of its own.
    void RegisterModifier(const QCommandLineOption& option);
    // Names the positional arguments in the help text.
    void DescribeArguments(const QString& name, const QString& description, const QString& syntax);

    // Parses `arguments` (the program's name first) and runs the one action asked for.
    // `openStore` opens the settings store when a handler needs it.
    int Run(const QStringList& arguments, std::ostream& out, std::ostream& err,
            const std::string& programDir, const std::function<store::Store*()>& openStore);

    std::string HelpText() const;

    // The program's arguments as the system gave them (argv, the program first): Run's
    // arguments are decoded text, which loses bytes that are not valid in the encoding.
    void SetRawArguments(std::vector<std::string> raw) { raw_ = std::move(raw); }

private:
    std::vector<std::string> raw_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    std::vector<std::pair<QCommandLineOption, CliHandler>> actions_;
};

// Registers --list-quicksets, --print-command-line, --run and --desktop-entry.
void RegisterLaunchOptions(CommandLineInterface& cli);
// Registers --query and its --master, --list-masters, --list-maps and its --patch.
void RegisterContentOptions(CommandLineInterface& cli);
// Registers --addons, --install-addon, --remove-addon, --play-addon and their modifiers.
void RegisterAddOnOptions(CommandLineInterface& cli);

// True when the program was started with arguments for the command line, which opens no
// window: anything but Qt's own GUI options ("-platform offscreen", "-style fusion", ...).
bool WantsCommandLine(int argc, char** argv);

}  // namespace fenmar::cli
