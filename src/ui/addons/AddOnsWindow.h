#pragma once
// The Add-ons window: the community catalogue (its kept copy, fetched in the background when
// there is none or on "Refresh"), a filter, the description, and Install (requirements
// first, with progress and cancel), Remove and Play. Nothing here waits on the network.

#include <QNetworkAccessManager>
#include <QWidget>
#include <memory>
#include <string>

#include "addons/AddOn.h"
#include "download/AddOnInstaller.h"
#include "download/CatalogueCache.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTextBrowser;

namespace fenmar::store {
class Store;
}

namespace fenmar::ui {

class AddOnList;
class AddOnPlayTarget;
class UiServices;

class AddOnsWindow : public QWidget {
    Q_OBJECT
public:
    // `store` (may be null) gives the catalogue's address; `target` the Quake directory and
    // the launch page that Play fills.
    AddOnsWindow(UiServices& ui, store::Store* store, AddOnPlayTarget& target,
                 QWidget* parent = nullptr);
    ~AddOnsWindow() override;

    // Reads the kept copy of the catalogue, or fetches it when there is none.
    void LoadCatalogue();
    // Fetches the catalogue again in the background.
    void Refresh();
    bool Busy() const;
    const addons::Catalogue& Catalogue() const { return catalogue_; }
    download::AddOnInstaller& Installer() { return installer_; }
    // Selects the row of add-on `id` (when listed); false when it is not.
    bool Select(const QString& id);

    void buInstallClick();
    void buRemoveClick();
    void buPlayClick();

    QLineEdit* edFilter;
    QCheckBox* cbInstalledOnly;
    QCheckBox* cbHideInstalled;
    QPushButton* buRefresh;
    QLabel* labCatalogue;
    QTableView* lvAddOns;
    QTextBrowser* tbDescription;
    QProgressBar* pbProgress;
    QLabel* labProgress;
    QPushButton* buInstall;
    QPushButton* buRemove;
    QPushButton* buPlay;
    QPushButton* buCancel;
    QPushButton* buClose;
    AddOnList* list;

signals:
    // A catalogue fetch or an install has ended (the list shows the outcome).
    void workFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ReadCachedCatalogue();
    void FetchFinished();
    void InstallFinished();
    void ShowCurrent();
    void UpdateButtons();
    const addons::AddOn* Current() const;
    std::string QuakeDir() const;
    bool AskOverwrite(const addons::AddOn& addOn, const std::vector<addons::Conflict>& files);

    UiServices& ui_;
    store::Store* store_;
    AddOnPlayTarget& target_;
    QNetworkAccessManager network_;
    download::CatalogueFetch fetch_;
    download::AddOnInstaller installer_;
    addons::Catalogue catalogue_;
    QString url_;
    bool loaded_ = false;
};

}  // namespace fenmar::ui
