#include "cli/CommandLineMain.h"

#include <QCoreApplication>
#include <iostream>
#include <memory>

#include "cli/CommandLineInterface.h"
#include "core/GlobalSettings.h"
#include "store/OpenStore.h"

namespace fenmar::cli {

int RunCommandLine(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fenmar"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(
        kSettingsVersion.data(), static_cast<qsizetype>(kSettingsVersion.size())));

    CommandLineInterface cli;
    RegisterLaunchOptions(cli);
    RegisterContentOptions(cli);
    RegisterAddOnOptions(cli);

    std::unique_ptr<store::Store> store;
    bool tried = false;
    const auto openStore = [&store, &tried]() -> store::Store* {
        if (!tried) {
            tried = true;
            store::OpenResult opened = store::OpenDefaultStore();
            if (!opened.problem.empty()) {
                std::cerr << "fenmar: the settings cannot be read: " << opened.problem << "\n";
                return nullptr;
            }
            if (!opened.movedAsideTo.empty()) {
                std::cerr << "fenmar: the settings file could not be read and was put aside as "
                          << opened.movedAsideTo << "\n";
            }
            store = std::move(opened.store);
        }
        return store.get();
    };
    const int status =
        cli.Run(QCoreApplication::arguments(), std::cout, std::cerr,
                QCoreApplication::applicationDirPath().toLocal8Bit().toStdString(), openStore);
    std::cout.flush();
    return status;
}

}  // namespace fenmar::cli
