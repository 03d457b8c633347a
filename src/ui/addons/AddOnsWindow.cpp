#include "ui/addons/AddOnsWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "addons/AddOnSettings.h"
#include "addons/CatalogueReader.h"
#include "addons/Installed.h"
#include "addons/Play.h"
#include "ui/addons/AddOnList.h"
#include "ui/addons/AddOnPlayTarget.h"
#include "ui/services/UiServices.h"
#include "ui/widgets/Controls.h"

namespace fenmar::ui {

namespace {

const QString kCaption = QStringLiteral("Add-ons");

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The catalogue's descriptions are HTML from outside: shown, never followed. No image, style
// sheet or link target is loaded, remote or local.
class DescriptionBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int /*type*/, const QUrl& /*name*/) override { return {}; }
};

}  // namespace

AddOnsWindow::AddOnsWindow(UiServices& ui, store::Store* store, AddOnPlayTarget& target,
                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(ui),
      store_(store),
      target_(target),
      fetch_(network_),
      installer_(network_) {
    setObjectName(QStringLiteral("AddOnsWindow"));
    setWindowTitle(kCaption);
    BuildControls();
    installer_.SetOverwriteQuestion(
        [this](const addons::AddOn& addOn, const std::vector<addons::Conflict>& files) {
            return AskOverwrite(addOn, files);
        });
    connect(&fetch_, &download::CatalogueFetch::progress, this, [this](qint64 got, qint64 all) {
        pbProgress->setRange(0, all > 0 ? 1000 : 0);
        if (all > 0) {
            pbProgress->setValue(static_cast<int>(got * 1000 / all));
        }
    });
    connect(&fetch_, &download::CatalogueFetch::finished, this, &AddOnsWindow::FetchFinished);
    connect(
        &installer_, &download::AddOnInstaller::stepStarted, this,
        [this](int index, int count, const QString& id) {
            labProgress->setText(
                QStringLiteral("Installing %1 (%2 of %3)...").arg(id).arg(index + 1).arg(count));
            pbProgress->setRange(0, 0);
        });
    const auto showProgress = [this](qint64 done, qint64 all) {
        pbProgress->setRange(0, all > 0 ? 1000 : 0);
        if (all > 0) {
            pbProgress->setValue(static_cast<int>(qMin<qint64>(done * 1000 / all, 1000)));
        }
    };
    connect(&installer_, &download::AddOnInstaller::downloadProgress, this, showProgress);
    connect(&installer_, &download::AddOnInstaller::unpackProgress, this, showProgress);
    connect(&installer_, &download::AddOnInstaller::finished, this, &AddOnsWindow::InstallFinished);
    UpdateButtons();
}

AddOnsWindow::~AddOnsWindow() = default;

void AddOnsWindow::BuildControls() {
    edFilter = MakeEdit(this, QStringLiteral("edFilter"), QString(),
                        QStringLiteral("Words to find in the title, the author or the id"));
    edFilter->setPlaceholderText(QStringLiteral("Filter by title, author or id"));
    edFilter->setClearButtonEnabled(true);
    cbInstalledOnly =
        MakeCheck(this, QStringLiteral("cbInstalledOnly"), QStringLiteral("Installed only"));
    cbHideInstalled =
        MakeCheck(this, QStringLiteral("cbHideInstalled"), QStringLiteral("Hide installed"));
    buRefresh = MakeButton(this, QStringLiteral("buRefresh"), QStringLiteral("&Refresh"),
                           QStringLiteral("Fetch the catalogue again"));
    labCatalogue = MakeLabel(this, QStringLiteral("labCatalogue"), QString());

    list = new AddOnList(this);
    lvAddOns = Named(new QTableView(this), QStringLiteral("lvAddOns"));
    lvAddOns->setModel(list);
    lvAddOns->setSortingEnabled(true);
    lvAddOns->sortByColumn(AddOnList::ColDate, Qt::DescendingOrder);
    lvAddOns->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvAddOns->setSelectionMode(QAbstractItemView::SingleSelection);
    lvAddOns->verticalHeader()->hide();
    lvAddOns->verticalHeader()->setDefaultSectionSize(lvAddOns->fontMetrics().height() + 6);
    lvAddOns->setWordWrap(false);
    QHeaderView* header = lvAddOns->horizontalHeader();
    header->setSectionResizeMode(AddOnList::ColTitle, QHeaderView::Stretch);
    for (int column = AddOnList::ColAuthor; column < AddOnList::ColumnCount; ++column) {
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    header->setMinimumSectionSize(60);
    lvAddOns->setMinimumWidth(560);

    tbDescription = Named(new DescriptionBrowser(this), QStringLiteral("tbDescription"));
    tbDescription->setOpenLinks(false);
    tbDescription->setOpenExternalLinks(false);

    pbProgress = Named(new QProgressBar(this), QStringLiteral("pbProgress"));
    pbProgress->setTextVisible(false);
    labProgress = MakeLabel(this, QStringLiteral("labProgress"), QString());
    buInstall = MakeButton(this, QStringLiteral("buInstall"), QStringLiteral("&Install"));
    buRemove = MakeButton(this, QStringLiteral("buRemove"), QStringLiteral("Re&move"));
    buPlay = MakeButton(this, QStringLiteral("buPlay"), QStringLiteral("&Play"));
    buCancel = MakeButton(this, QStringLiteral("buCancel"), QStringLiteral("&Cancel"));
    buClose = MakeButton(this, QStringLiteral("buClose"), QStringLiteral("Close"));

    auto* top = new QHBoxLayout;
    top->addWidget(edFilter, 1);
    top->addWidget(cbInstalledOnly);
    top->addWidget(cbHideInstalled);
    top->addWidget(labCatalogue);
    top->addWidget(buRefresh);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(lvAddOns);
    splitter->addWidget(tbDescription);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({760, 340});

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pbProgress, 1);
    bottom->addWidget(labProgress, 1);
    bottom->addWidget(buCancel);
    bottom->addSpacing(12);
    bottom->addWidget(buInstall);
    bottom->addWidget(buRemove);
    bottom->addWidget(buPlay);
    bottom->addSpacing(12);
    bottom->addWidget(buClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);
    resize(1120, 640);

    connect(edFilter, &QLineEdit::textChanged, list, &AddOnList::SetFilterText);
    connect(cbInstalledOnly, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            cbHideInstalled->setChecked(false);
        }
        list->SetInstalledOnly(on);
    });
    connect(cbHideInstalled, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            cbInstalledOnly->setChecked(false);
        }
        list->SetHideInstalled(on);
    });
    connect(buRefresh, &QPushButton::clicked, this, &AddOnsWindow::Refresh);
    connect(lvAddOns->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &AddOnsWindow::ShowCurrent);
    connect(list, &QAbstractItemModel::layoutChanged, this, &AddOnsWindow::UpdateButtons);
    connect(buInstall, &QPushButton::clicked, this, &AddOnsWindow::buInstallClick);
    connect(buRemove, &QPushButton::clicked, this, &AddOnsWindow::buRemoveClick);
    connect(buPlay, &QPushButton::clicked, this, &AddOnsWindow::buPlayClick);
    connect(buCancel, &QPushButton::clicked, this, [this] {
        fetch_.Cancel();
        installer_.Cancel();
    });
    connect(buClose, &QPushButton::clicked, this, &QWidget::close);
}

void AddOnsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_) {
        CentreOnScreen(*this);
        LoadCatalogue();
    }
}

void AddOnsWindow::LoadCatalogue() {
    loaded_ = true;
    url_ = Utf8(store_ != nullptr ? addons::ReadCatalogueAddress(*store_)
                                  : std::string(addons::kDefaultCatalogue));
    if (download::CatalogueFetchedAt(download::CatalogueCacheFile(QUrl(url_)))) {
        ReadCachedCatalogue();
    } else {
        Refresh();
    }
}

void AddOnsWindow::Refresh() {
    if (Busy()) {
        return;
    }
    if (url_.isEmpty()) {
        loaded_ = false;
        LoadCatalogue();  // the address first; it fetches when there is no copy
        return;
    }
    labProgress->setText(QStringLiteral("Fetching the catalogue..."));
    pbProgress->setRange(0, 0);
    fetch_.Start(QUrl(url_), download::CatalogueCacheFile(QUrl(url_)));
    UpdateButtons();
}

bool AddOnsWindow::Busy() const {
    return fetch_.Running() || installer_.Running();
}

void AddOnsWindow::FetchFinished() {
    pbProgress->setRange(0, 1);
    pbProgress->reset();
    const download::DownloadResult& result = fetch_.Result();
    if (result.outcome == download::DownloadOutcome::Done) {
        labProgress->clear();
        ReadCachedCatalogue();
    } else {
        labProgress->setText(result.outcome == download::DownloadOutcome::Cancelled
                                 ? QStringLiteral("Fetching cancelled.")
                                 : QStringLiteral("The catalogue could not be fetched."));
        labProgress->setToolTip(result.error);
        UpdateButtons();
    }
    emit workFinished();
}

void AddOnsWindow::ReadCachedCatalogue() {
    const QString file = download::CatalogueCacheFile(QUrl(url_));
    addons::CatalogueResult read = addons::ReadCatalogueFile(file.toLocal8Bit().toStdString());
    if (!read.Ok()) {
        labProgress->setText(QStringLiteral("The catalogue cannot be read."));
        labProgress->setToolTip(Utf8(read.error));
        return;
    }
    catalogue_ = std::move(read.catalogue);
    list->Fill(&catalogue_.AddOns(), QuakeDir());
    list->SetFilterText(edFilter->text());
    if (!lvAddOns->currentIndex().isValid() && list->rowCount() > 0) {
        lvAddOns->setCurrentIndex(list->index(0, 0));
    }
    const auto fetched = download::CatalogueFetchedAt(file);
    labCatalogue->setText(
        QStringLiteral("%1 add-ons, fetched %2")
            .arg(catalogue_.Size())
            .arg(fetched ? QLocale().toString(*fetched, QLocale::ShortFormat) : QString()));
    if (catalogue_.Skipped() > 0) {
        labCatalogue->setToolTip(
            QStringLiteral("%1 damaged entries were skipped.").arg(catalogue_.Skipped()));
    }
    ShowCurrent();
}

std::string AddOnsWindow::QuakeDir() const {
    return target_.QuakeDirectory().toLocal8Bit().toStdString();
}

const addons::AddOn* AddOnsWindow::Current() const {
    const QModelIndex current = lvAddOns->currentIndex();
    return current.isValid() ? list->AddOnAt(current.row()) : nullptr;
}

bool AddOnsWindow::Select(const QString& id) {
    for (int row = 0; row < list->rowCount(); ++row) {
        const addons::AddOn* addOn = list->AddOnAt(row);
        if (addOn != nullptr && Utf8(addOn->id).compare(id, Qt::CaseInsensitive) == 0) {
            lvAddOns->setCurrentIndex(list->index(row, 0));
            return true;
        }
    }
    return false;
}

void AddOnsWindow::ShowCurrent() {
    const addons::AddOn* addOn = Current();
    if (addOn == nullptr) {
        tbDescription->clear();
    } else {
        QString head =
            QStringLiteral("<h3>%1</h3><p><i>%2</i> &middot; %3</p>")
                .arg(Utf8(addOn->title).toHtmlEscaped(), Utf8(addOn->author).toHtmlEscaped(),
                     Utf8(addOn->id).toHtmlEscaped());
        if (!addOn->requirements.empty()) {
            QStringList needs;
            for (const std::string& id : addOn->requirements) {
                needs << Utf8(id).toHtmlEscaped();
            }
            head += QStringLiteral("<p>Requires: %1</p>").arg(needs.join(QStringLiteral(", ")));
        }
        tbDescription->setHtml(head + Utf8(addOn->descriptionHtml));
    }
    UpdateButtons();
}

void AddOnsWindow::UpdateButtons() {
    const addons::AddOn* addOn = Current();
    const bool busy = Busy();
    const bool haveQuake = !QuakeDir().empty();
    const QModelIndex current = lvAddOns->currentIndex();
    const bool installed = addOn != nullptr && current.isValid() &&
                           list->StateAt(current.row()) != addons::AddOnState::NotInstalled;
    buInstall->setEnabled(addOn != nullptr && !busy && haveQuake);
    buRemove->setEnabled(installed && !busy);
    buPlay->setEnabled(installed && !busy);
    buCancel->setEnabled(busy);
    buRefresh->setEnabled(!busy);
}

bool AddOnsWindow::AskOverwrite(const addons::AddOn& addOn,
                                const std::vector<addons::Conflict>& files) {
    QStringList paths;
    for (const addons::Conflict& conflict : files) {
        paths << Utf8(conflict.path) + (conflict.owner.empty()
                                            ? QString()
                                            : QStringLiteral(" (of %1)").arg(Utf8(conflict.owner)));
    }
    const int shown = 12;
    QString named = paths.mid(0, shown).join(QLatin1Char('\n'));
    if (paths.size() > shown) {
        named += QStringLiteral("\n... and %1 more").arg(paths.size() - shown);
    }
    return ui_.ShowMessage({QStringLiteral("Installing %1 would replace these files, which are "
                                           "not its own:\n\n%2\n\nReplace them?")
                                .arg(Utf8(addOn.id), named),
                            kCaption, MessageIcon::Warning, MessageButtons::YesNo,
                            MessageResult::No}) == MessageResult::Yes;
}

void AddOnsWindow::buInstallClick() {
    const addons::AddOn* addOn = Current();
    if (addOn == nullptr || Busy()) {
        return;
    }
    std::vector<std::string> present;
    QString error;
    const auto order =
        download::AddOnInstaller::Order(catalogue_, QuakeDir(), {addOn->id}, present, error);
    if (!error.isEmpty()) {
        ui_.ShowMessage(error, kCaption, MessageIcon::Error);
        return;
    }
    if (order.size() > 1) {
        QStringList names;
        for (const addons::AddOn* step : order) {
            names << Utf8(step->id);
        }
        const MessageResult answer = ui_.ShowMessage(
            {QStringLiteral("%1 needs other add-ons. These are installed, in this order:\n\n%2")
                 .arg(Utf8(addOn->id), names.join(QLatin1Char('\n'))),
             kCaption, MessageIcon::Question, MessageButtons::OkCancel, MessageResult::Ok});
        if (answer != MessageResult::Ok) {
            return;
        }
    }
    installer_.Start(catalogue_, url_.toStdString(), QuakeDir(), {addOn->id});
    UpdateButtons();
}

void AddOnsWindow::InstallFinished() {
    pbProgress->setRange(0, 1);
    pbProgress->reset();
    const download::InstallSummary& summary = installer_.Summary();
    list->UpdateStates(QuakeDir());
    if (summary.cancelled) {
        labProgress->setText(QStringLiteral("Install cancelled."));
    } else if (!summary.error.isEmpty()) {
        labProgress->setText(QStringLiteral("Install failed."));
        ui_.ShowMessage(summary.error, kCaption, MessageIcon::Error);
    } else {
        QStringList names;
        for (const std::string& id : summary.installed) {
            names << Utf8(id);
        }
        labProgress->setText(QStringLiteral("Installed %1.").arg(names.join(QStringLiteral(", "))));
    }
    ShowCurrent();
    emit workFinished();
}

void AddOnsWindow::buRemoveClick() {
    const addons::AddOn* addOn = Current();
    if (addOn == nullptr || Busy()) {
        return;
    }
    if (ui_.ShowMessage({QStringLiteral("Remove the files %1 installed?").arg(Utf8(addOn->id)),
                         kCaption, MessageIcon::Question, MessageButtons::YesNo,
                         MessageResult::No}) != MessageResult::Yes) {
        return;
    }
    const addons::RemoveResult removed = addons::RemoveAddOn(QuakeDir(), addOn->id);
    list->UpdateStates(QuakeDir());
    ShowCurrent();
    if (!removed.Ok()) {
        ui_.ShowMessage(Utf8(removed.error), kCaption, MessageIcon::Error);
    } else if (!removed.kept.empty()) {
        QStringList kept;
        for (const std::string& path : removed.kept) {
            kept << Utf8(path);
        }
        ui_.ShowMessage(QStringLiteral("These files were changed since the install and were "
                                       "kept:\n\n%1")
                            .arg(kept.join(QLatin1Char('\n'))),
                        kCaption, MessageIcon::Information);
    }
}

void AddOnsWindow::buPlayClick() {
    const addons::AddOn* addOn = Current();
    if (addOn == nullptr) {
        return;
    }
    addons::PlayPlan plan = addons::PlanPlay(*addOn, {}, QuakeDir());
    if (!plan.Ok()) {
        ui_.ShowMessage(Utf8(plan.error), kCaption, MessageIcon::Error);
        return;
    }
    if (plan.NeedsChoice()) {
        ChoiceRequest request;
        request.title = kCaption;
        request.text = QStringLiteral("Start %1 with which map?").arg(Utf8(addOn->id));
        for (const std::string& map : plan.maps) {
            request.items << Utf8(map);
        }
        request.ticked = {0};
        const auto chosen = ui_.ChooseFromList(request);
        if (!chosen || chosen->empty()) {
            return;
        }
        plan.map = plan.maps[static_cast<std::size_t>(chosen->front())];
    }
    const QString map = Utf8(plan.map.empty() && !plan.maps.empty() ? plan.maps.front() : plan.map);
    QStringList params;
    if (!plan.additionalParameters.empty()) {
        params << Utf8(plan.additionalParameters);
    }
    target_.FillLaunch(Utf8(plan.gamePatch), map, params);
    target_.RunQuake();
}

}  // namespace fenmar::ui
