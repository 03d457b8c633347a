#pragma once
// Installs add-ons with what they require, one after the other: each zip is downloaded into a
// scratch folder, checked against the catalogue (size, MD5), planned and unpacked into the
// Quake directory. Files in the way that are not the add-on's own are overwritten only when
// the question says so. Unpacking runs on a worker thread, so a window stays responsive; a
// cancel stops the download or the unpacking, and the add-on that was under way leaves
// nothing behind (those finished before it stay installed).

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addons/AddOn.h"
#include "addons/Install.h"
#include "download/FileDownload.h"

class QNetworkAccessManager;

namespace fenmar::download {

struct InstallSummary {
    std::vector<std::string> installed;  // ids, in the order they were installed
    std::vector<std::string> present;    // requirements already in place, passed over
    QString error;                       // non-empty: the install stopped there
    bool cancelled = false;
    bool Ok() const { return error.isEmpty() && !cancelled; }
};

class AddOnInstaller : public QObject {
    Q_OBJECT
public:
    // Asked (on the caller's thread) before files that are not the add-on's own would be
    // replaced; true replaces them. Without a question nothing is replaced.
    using OverwriteQuestion =
        std::function<bool(const addons::AddOn& addOn, const std::vector<addons::Conflict>&)>;

    explicit AddOnInstaller(QNetworkAccessManager& network, QObject* parent = nullptr);
    ~AddOnInstaller() override;

    void SetOverwriteQuestion(OverwriteQuestion question) { question_ = std::move(question); }
    DownloadLimits& Limits() { return limits_; }  // the stall timeout and redirects

    // The ids to install for `ids`, requirements first, each once, without the requirements
    // already in place; `error` names an unknown id or a cycle.
    static std::vector<const addons::AddOn*> Order(const addons::Catalogue& catalogue,
                                                   const std::string& quakeDir,
                                                   const std::vector<std::string>& ids,
                                                   std::vector<std::string>& present,
                                                   QString& error);

    // Starts installing `ids` with their requirements; finished() follows. `catalogue` must
    // stay until then; `catalogueUrl` is where the zips are found beside.
    void Start(const addons::Catalogue& catalogue, const std::string& catalogueUrl,
               const std::string& quakeDir, const std::vector<std::string>& ids);
    void Cancel();
    bool Running() const { return running_; }
    const InstallSummary& Summary() const { return summary_; }

signals:
    // The add-ons to install, requirements first.
    void planned(const QStringList& ids);
    // Add-on `index` (from 0) of `count` begins.
    void stepStarted(int index, int count, const QString& id);
    void downloadProgress(qint64 received, qint64 total);
    void unpackProgress(qint64 written, qint64 total);
    void finished();

private:
    void NextStep();
    void Downloaded();
    void Unpacked();
    void Fail(const QString& error);
    void Finish();

    QNetworkAccessManager& network_;
    OverwriteQuestion question_;
    DownloadLimits limits_;
    const addons::Catalogue* catalogue_ = nullptr;
    std::string catalogueUrl_;
    std::string quakeDir_;
    std::vector<const addons::AddOn*> order_;
    std::size_t step_ = 0;
    std::unique_ptr<QTemporaryDir> scratch_;
    QString zipPath_;
    std::unique_ptr<FileDownload> download_;
    QPointer<QThread> worker_;
    std::atomic<bool> cancel_{false};
    addons::InstallResult unpacked_;
    InstallSummary summary_;
    bool running_ = false;
};

// Runs an install to its end in a local event loop (the command line's way).
InstallSummary RunInstall(AddOnInstaller& installer, const addons::Catalogue& catalogue,
                          const std::string& catalogueUrl, const std::string& quakeDir,
                          const std::vector<std::string>& ids);

}  // namespace fenmar::download
