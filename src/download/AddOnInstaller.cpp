#include "download/AddOnInstaller.h"

#include <QDir>
#include <QEventLoop>
#include <QThread>
#include <QUrl>

#include "addons/Download.h"
#include "addons/InstallOrder.h"
#include "addons/Installed.h"
#include "download/CatalogueCache.h"
#include "platform/FileSystem.h"

namespace fenmar::download {

namespace {
QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool Asked(const std::vector<std::string>& ids, const std::string& id) {
    for (const std::string& asked : ids) {
        if (platform::EqualsIgnoringAsciiCase(asked, id)) {
            return true;
        }
    }
    return false;
}
}  // namespace

AddOnInstaller::AddOnInstaller(QNetworkAccessManager& network, QObject* parent)
    : QObject(parent), network_(network) {}

AddOnInstaller::~AddOnInstaller() {
    cancel_ = true;
    if (worker_) {
        worker_->wait();
    }
    download_.reset();
}

std::vector<const addons::AddOn*> AddOnInstaller::Order(const addons::Catalogue& catalogue,
                                                        const std::string& quakeDir,
                                                        const std::vector<std::string>& ids,
                                                        std::vector<std::string>& present,
                                                        QString& error) {
    const addons::InstallOrder order = addons::PlanInstallOrder(catalogue, ids);
    if (!order.Ok()) {
        error = Text(order.error);
        return {};
    }
    const addons::InstalledAddOns installed(quakeDir);
    std::vector<const addons::AddOn*> steps;
    for (const addons::AddOn* addOn : order.addOns) {
        if (!Asked(ids, addOn->id) &&
            installed.StatusOf(*addOn).state != addons::AddOnState::NotInstalled) {
            present.push_back(addOn->id);
        } else {
            steps.push_back(addOn);
        }
    }
    return steps;
}

void AddOnInstaller::Start(const addons::Catalogue& catalogue, const std::string& catalogueUrl,
                           const std::string& quakeDir, const std::vector<std::string>& ids) {
    catalogue_ = &catalogue;
    catalogueUrl_ = catalogueUrl;
    quakeDir_ = quakeDir;
    summary_ = {};
    cancel_ = false;
    step_ = 0;
    running_ = true;
    QString error;
    order_ = Order(catalogue, quakeDir, ids, summary_.present, error);
    if (!error.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, error] { Fail(error); }, Qt::QueuedConnection);
        return;
    }
    QStringList names;
    for (const addons::AddOn* addOn : order_) {
        names << Text(addOn->id);
    }
    emit planned(names);
    // The zips wait beside the catalogue's copy (not in a memory-backed temporary folder).
    const QString cache = QFileInfo(CatalogueCacheFile(QUrl(Text(catalogueUrl)))).absolutePath();
    if (!cache.isEmpty() && QDir().mkpath(cache)) {
        scratch_ = std::make_unique<QTemporaryDir>(cache + QStringLiteral("/download-XXXXXX"));
    }
    if (!scratch_ || !scratch_->isValid()) {
        scratch_ = std::make_unique<QTemporaryDir>();
    }
    if (!scratch_->isValid()) {
        QMetaObject::invokeMethod(
            this, [this] { Fail(QStringLiteral("no folder for the download can be made")); },
            Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(this, &AddOnInstaller::NextStep, Qt::QueuedConnection);
}

void AddOnInstaller::Cancel() {
    cancel_ = true;
    if (download_ && download_->Running()) {
        download_->Cancel();
    }
}

void AddOnInstaller::NextStep() {
    if (!running_) {
        return;
    }
    if (cancel_) {
        summary_.cancelled = true;
        Finish();
        return;
    }
    if (step_ >= order_.size()) {
        Finish();
        return;
    }
    const addons::AddOn& addOn = *order_[step_];
    emit stepStarted(static_cast<int>(step_), static_cast<int>(order_.size()), Text(addOn.id));
    const addons::Address address = addons::DownloadUrl(catalogueUrl_, addOn.id);
    if (!address.Ok()) {
        Fail(Text(address.error));
        return;
    }
    DownloadLimits limits = limits_;
    limits.expectedBytes = addOn.sizeKiB >= 0 ? addOn.sizeKiB * 1024 : -1;
    limits.maxBytes = addons::MaxDownloadBytes(addOn);
    zipPath_ = scratch_->filePath(QStringLiteral("addon-%1.zip").arg(step_));
    download_ = std::make_unique<FileDownload>(network_);
    connect(download_.get(), &FileDownload::progress, this, &AddOnInstaller::downloadProgress);
    connect(download_.get(), &FileDownload::finished, this, &AddOnInstaller::Downloaded);
    download_->Start(QUrl(Text(address.url)), zipPath_, limits);
}

void AddOnInstaller::Downloaded() {
    const DownloadResult result = download_->Result();
    download_.release()->deleteLater();
    const addons::AddOn& addOn = *order_[step_];
    if (result.outcome == DownloadOutcome::Cancelled || cancel_) {
        summary_.cancelled = true;
        Finish();
        return;
    }
    if (result.outcome != DownloadOutcome::Done) {
        Fail(QStringLiteral("%1 could not be downloaded: %2").arg(Text(addOn.id), result.error));
        return;
    }
    const std::string zip = QDir::toNativeSeparators(zipPath_).toLocal8Bit().toStdString();
    const addons::FileCheck check = addons::CheckDownloadedFile(addOn, zip);
    if (!check.Ok()) {
        Fail(QStringLiteral("%1 is not what the catalogue lists: %2")
                 .arg(Text(addOn.id), Text(check.error)));
        return;
    }
    addons::InstallPlan plan = addons::PlanInstall(quakeDir_, addOn, zip);
    if (!plan.Ok()) {
        Fail(QStringLiteral("%1 cannot be installed: %2").arg(Text(addOn.id), Text(plan.error)));
        return;
    }
    const bool overwrite =
        plan.conflicts.empty() || (question_ && question_(addOn, plan.conflicts));
    if (!overwrite) {
        QStringList paths;
        for (const addons::Conflict& conflict : plan.conflicts) {
            paths << Text(conflict.path);
        }
        Fail(QStringLiteral("%1 would replace %2 file(s) that are not its own: %3")
                 .arg(Text(addOn.id))
                 .arg(paths.size())
                 .arg(paths.join(QStringLiteral(", "))));
        return;
    }
    worker_ = QThread::create([this, plan = std::move(plan), overwrite] {
        unpacked_ = addons::Install(plan, overwrite, [this](std::uint64_t done, std::uint64_t all) {
            emit unpackProgress(static_cast<qint64>(done), static_cast<qint64>(all));
            return !cancel_.load();
        });
    });
    connect(worker_, &QThread::finished, this, &AddOnInstaller::Unpacked);
    connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
    worker_->start();
}

void AddOnInstaller::Unpacked() {
    QFile::remove(zipPath_);
    const addons::AddOn& addOn = *order_[step_];
    if (unpacked_.cancelled || cancel_) {
        summary_.cancelled = true;
        Finish();
        return;
    }
    if (!unpacked_.Ok()) {
        Fail(QStringLiteral("%1 cannot be installed: %2")
                 .arg(Text(addOn.id), Text(unpacked_.error)));
        return;
    }
    summary_.installed.push_back(addOn.id);
    ++step_;
    NextStep();
}

void AddOnInstaller::Fail(const QString& error) {
    summary_.error = error;
    Finish();
}

void AddOnInstaller::Finish() {
    if (!running_) {
        return;
    }
    running_ = false;
    scratch_.reset();
    emit finished();
}

InstallSummary RunInstall(AddOnInstaller& installer, const addons::Catalogue& catalogue,
                          const std::string& catalogueUrl, const std::string& quakeDir,
                          const std::vector<std::string>& ids) {
    QEventLoop loop;
    const QMetaObject::Connection done =
        QObject::connect(&installer, &AddOnInstaller::finished, &loop, &QEventLoop::quit);
    installer.Start(catalogue, catalogueUrl, quakeDir, ids);
    if (installer.Running()) {
        loop.exec();
    }
    QObject::disconnect(done);
    return installer.Summary();
}

}  // namespace fenmar::download
