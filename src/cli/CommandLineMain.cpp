#include "cli/CommandLineMain.h"

#include <QCoreApplication>
#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <string_view>

#include "cli/CommandLineInterface.h"
#include "core/GlobalSettings.h"
#include "store/OpenStore.h"

namespace fenmar::cli {

int RunCommandLine(int argc, char** argv, std::string& windowText) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fenmar"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(
        kSettingsVersion.data(), static_cast<qsizetype>(kSettingsVersion.size())));

    CommandLineInterface cli;
    RegisterLaunchOptions(cli);
    RegisterContentOptions(cli);
    RegisterAddOnOptions(cli);
    cli.SetRawArguments(std::vector<std::string>(argv, argv + argc));

    // With --gui-errors the errors are kept as well, for a message window.
    const bool guiErrors =
        std::find(argv + 1, argv + argc, std::string_view("--gui-errors")) != argv + argc;
    std::ostringstream kept;
    std::ostream& err = guiErrors ? static_cast<std::ostream&>(kept) : std::cerr;

    std::unique_ptr<store::Store> store;
    bool tried = false;
    const auto openStore = [&store, &tried, &err]() -> store::Store* {
        if (!tried) {
            tried = true;
            store::OpenResult opened = store::OpenDefaultStore();
            if (!opened.problem.empty()) {
                err << "fenmar: the settings cannot be read: " << opened.problem << "\n";
                return nullptr;
            }
            if (!opened.movedAsideTo.empty()) {
                err << "fenmar: the settings file could not be read and was put aside as "
                    << opened.movedAsideTo << "\n";
            }
            store = std::move(opened.store);
        }
        return store.get();
    };
    const int status =
        cli.Run(QCoreApplication::arguments(), std::cout, err,
                QCoreApplication::applicationDirPath().toLocal8Bit().toStdString(), openStore);
    std::cout.flush();
    std::cerr << kept.str();
    if (guiErrors && status != kExitOk) {
        // The messages without the usage text that may follow them.
        std::istringstream lines(kept.str());
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("fenmar: ", 0) == 0) {
                windowText += line.substr(8) + "\n";
            }
        }
    }
    return status;
}

}  // namespace fenmar::cli
