#include "cli/CommandLineInterface.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>
#include <ostream>
#include <string_view>

#include "core/GlobalSettings.h"

namespace fenmar::cli {

namespace {
std::string Local(const QString& text) {
    return text.toLocal8Bit().toStdString();
}
}  // namespace

// --- CliCall ------------------------------------------------------------------------------

CliCall::CliCall(const QCommandLineParser& parser, std::ostream& out, std::ostream& err,
                 std::string programDir, std::function<store::Store*()> openStore)
    : parser_(parser),
      out_(out),
      err_(err),
      programDir_(std::move(programDir)),
      openStore_(std::move(openStore)) {}

std::vector<std::string> CliCall::Arguments() const {
    std::vector<std::string> args;
    std::size_t next = 1;  // the raw arguments after the program's name not yet matched
    for (const QString& arg : parser_.positionalArguments()) {
        std::string bytes = Local(arg);
        // The positional arguments keep their order among the raw ones: the next raw argument
        // that decodes to this one is where its bytes are.
        for (std::size_t i = next; rawArguments != nullptr && i < rawArguments->size(); ++i) {
            if (QString::fromLocal8Bit((*rawArguments)[i]) == arg) {
                bytes = (*rawArguments)[i];
                next = i + 1;
                break;
            }
        }
        args.push_back(std::move(bytes));
    }
    return args;
}

std::string CliCall::ProgramPath() const {
    return Local(QCoreApplication::applicationFilePath());
}

store::Store* CliCall::Store() {
    return openStore_ ? openStore_() : nullptr;
}

int CliCall::UsageError(const std::string& message) {
    err_ << "fenmar: " << message << "\n\n" << (usage ? usage() : std::string());
    return kExitUsage;
}

int CliCall::Error(const std::string& message, int status) {
    err_ << "fenmar: " << message << "\n";
    return status;
}

// --- CommandLineInterface -----------------------------------------------------------------

CommandLineInterface::CommandLineInterface()
    : help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")),
      version_({QStringLiteral("v"), QStringLiteral("version")},
               QStringLiteral("Show the program's version.")) {
    parser_.setApplicationDescription(
        QStringLiteral("Launches Quake engines. Without options the window opens; with them "
                       "Fenmar works on the stored settings and opens no window."));
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(help_);
    parser_.addOption(version_);
}

void CommandLineInterface::Register(const QCommandLineOption& option, CliHandler handler) {
    parser_.addOption(option);
    actions_.emplace_back(option, std::move(handler));
}

void CommandLineInterface::RegisterModifier(const QCommandLineOption& option) {
    parser_.addOption(option);
}

void CommandLineInterface::DescribeArguments(const QString& name, const QString& description,
                                             const QString& syntax) {
    parser_.addPositionalArgument(name, description, syntax);
}

std::string CommandLineInterface::HelpText() const {
    // helpText() names the program by the running application; keep it fixed.
    QString text = parser_.helpText();
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    const QString firstLine = text.left(end);
    const qsizetype options = firstLine.indexOf(QStringLiteral(" [options]"));
    if (firstLine.startsWith(QStringLiteral("Usage: ")) && options > 0) {
        text.replace(0, options, QStringLiteral("Usage: fenmar"));
    }
    return Local(text);
}

int CommandLineInterface::Run(const QStringList& arguments, std::ostream& out, std::ostream& err,
                              const std::string& programDir,
                              const std::function<store::Store*()>& openStore) {
    CliCall call(parser_, out, err, programDir, openStore);
    call.usage = [this] { return HelpText(); };
    call.rawArguments = &raw_;
    if (!parser_.parse(arguments)) {
        return call.UsageError(Local(parser_.errorText()));
    }
    if (parser_.isSet(help_)) {
        out << HelpText();
        return kExitOk;
    }
    const CliHandler* chosen = nullptr;
    QStringList names;
    if (parser_.isSet(version_)) {
        names << QStringLiteral("--version");
    }
    for (const auto& [option, handler] : actions_) {
        if (parser_.isSet(option)) {
            chosen = &handler;
            names << QStringLiteral("--") + option.names().constLast();
        }
    }
    if (names.size() > 1) {
        return call.UsageError("choose one of " + Local(names.join(QStringLiteral(", "))));
    }
    if (parser_.isSet(version_)) {
        out << "Fenmar " << kSettingsVersion << "\n";
        return kExitOk;
    }
    if (chosen == nullptr) {
        const QStringList rest = parser_.positionalArguments();
        return call.UsageError(rest.isEmpty() ? std::string("no action given")
                                              : "unknown argument '" + Local(rest.front()) + "'");
    }
    return (*chosen)(call);
}

namespace {
// Qt's own options for GUI programs: they keep meaning the window, as they always did.
constexpr std::string_view kGuiOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "geometry",
    "qwindowicon", "qwindowtitle",       "title",         "session", "display",         "style",
    "stylesheet"};
constexpr std::string_view kGuiFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// The option's name without its one or two dashes; "" for anything else.
std::string_view OptionName(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-') {
        return {};
    }
    arg.remove_prefix(arg[1] == '-' ? 2 : 1);
    return arg.substr(0, arg.find('='));
}

}  // namespace

bool WantsCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        const std::string_view name = OptionName(arg);
        if (name.empty()) {
            return true;
        }
        const bool withValue =
            std::find(std::begin(kGuiOptionsWithValue), std::end(kGuiOptionsWithValue), name) !=
            std::end(kGuiOptionsWithValue);
        if (withValue) {
            if (arg.find('=') == std::string_view::npos) {
                ++i;  // its value
            }
            continue;
        }
        if (std::find(std::begin(kGuiFlags), std::end(kGuiFlags), name) == std::end(kGuiFlags) &&
            !name.starts_with("qmljsdebugger")) {
            return true;
        }
    }
    return false;
}

}  // namespace fenmar::cli
