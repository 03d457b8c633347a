#include "ui/executables/ExecutableList.h"

#include <algorithm>

#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

#include "core/PathPicking.h"
#include "platform/FileSystem.h"
#include "platform/InstallPlaces.h"
#include "store/Store.h"
#include "ui/discovery/Offers.h"
#include "ui/executables/ExeNotDefined.h"
#include "ui/executables/ExecutableBox.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/pickers/Pickers.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

namespace {

// A row of the list; rows sort by name the way the executable table does.
class ExecutableRow : public QTreeWidgetItem {
public:
    ExecutableRow(const QString& name, const QString& file) : QTreeWidgetItem({name, file}) {}
    bool operator<(const QTreeWidgetItem& other) const override {
        return LessIgnoringCase(ToLocal(text(0)), ToLocal(other.text(0)));
    }
};

}  // namespace

ExecutableList::ExecutableList(TMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("executableList"));
    MoreGlobalOptionsPage& page = *dialog.moreGlobalOptions;
    QTreeWidget* list = page.lvExecutables;
    // The selection stays visible while the list has no focus.
    QPalette palette = list->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    list->setPalette(palette);
    filtered_ = list;
    list->installEventFilter(this);
    KeepPathCase(page.edFile);

    connect(page.edName, &QLineEdit::textChanged, this, &ExecutableList::CheckForButtons);
    connect(page.edFile, &QLineEdit::textChanged, this, &ExecutableList::CheckForButtons);
    connect(list, &QTreeWidget::itemSelectionChanged, this, &ExecutableList::CheckForButtons);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &ExecutableList::lvExecutablesDblClick);
    connect(page.buAdd, &QPushButton::clicked, this, &ExecutableList::buAddClick);
    connect(page.buChangeTo, &QPushButton::clicked, this, &ExecutableList::buChangeToClick);
    connect(page.buDelete, &QPushButton::clicked, this, &ExecutableList::buDeleteClick);
    connect(page.buBrowseExecutable, &QToolButton::clicked, this,
            &ExecutableList::buBrowseExecutableClick);
    connect(dialog.general->comboExecutables, &QComboBox::activated, this,
            &ExecutableList::comboExecutablesChange);
    connect(page.buFindEngines, &QPushButton::clicked, this, &ExecutableList::buFindEnginesClick);
    // Rows relative to the Quake directory are found, or not, anew when it changes.
    connect(dialog.globalOptions->edQuakePath, &QLineEdit::textChanged, this,
            &ExecutableList::MarkMissingPrograms);

    ReplaceAll(Entries());
}

std::vector<ExecutableEntry> ExecutableList::Entries() const {
    const QTreeWidget* list = dialog_.moreGlobalOptions->lvExecutables;
    std::vector<ExecutableEntry> rows;
    rows.reserve(static_cast<std::size_t>(list->topLevelItemCount()));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        rows.push_back({ToLocal(row->text(0)), ToLocal(row->text(1))});
    }
    return rows;
}

void ExecutableList::ReplaceAll(const std::vector<ExecutableEntry>& rows) {
    dialog_.moreGlobalOptions->lvExecutables->clear();
    dialog_.general->comboExecutables->clear();
    for (const ExecutableEntry& row : rows) {
        if (!row.name.empty()) {
            AppendRow(FromLocal(row.name), FromLocal(row.file));
        }
    }
    RowsChanged();
}

bool ExecutableList::AddExecutable(const std::string& file, const std::string& name) {
    if (NameExists(FromLocal(name))) {
        return false;
    }
    AppendRow(FromLocal(name), FromLocal(file));
    RowsChanged();
    return true;
}

std::optional<std::string> ExecutableList::ResolveExecutableName(const std::string& file) {
    const std::string upper = AsciiUpper(file);
    const std::vector<ExecutableEntry> rows = Entries();
    for (const ExecutableEntry& row : rows) {
        if (AsciiUpper(row.file) == upper) {
            return row.name;
        }
    }
    AppWindows* windows = dialog_.Windows();
    if (windows != nullptr && windows->exeNotDefined != nullptr) {
        TExeNotDefined& ask = *windows->exeNotDefined;
        ask.edExe->setText(FromLocal(upper));
        ask.edDescr->clear();
        UiServices& ui = dialog_.Context().ui;
        while (ui.ExecModal(ask) == QDialog::Accepted) {
            const QString name = ask.edDescr->text();
            if (AddExecutable(PathInStoredCase(file), ToLocal(name))) {
                return ToLocal(name);
            }
            ui.ShowMessage(QStringLiteral("Executable \"") + name +
                           QStringLiteral("\" already exists !"));
        }
    }
    // Cancelled: the plain game, else whatever comes first.
    for (const ExecutableEntry& row : rows) {
        if (AsciiUpper(row.file) == "QUAKE.EXE") {
            return row.name;
        }
    }
    if (!rows.empty()) {
        return rows.front().name;
    }
    return std::nullopt;
}

void ExecutableList::ShowExecutable(const std::string& name) {
    QComboBox* combo = dialog_.general->comboExecutables;
    for (int i = 0; i < combo->count(); ++i) {
        if (EqualsIgnoringAsciiCase(ToLocal(combo->itemText(i)), name)) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    combo->setCurrentIndex(-1);
}

void ExecutableList::CheckForButtons() {
    MoreGlobalOptionsPage& page = *dialog_.moreGlobalOptions;
    const bool filled = !page.edName->text().isEmpty() && !page.edFile->text().isEmpty();
    const bool selected = SelectedRow() != nullptr;
    page.buAdd->setEnabled(filled);
    page.buChangeTo->setEnabled(filled && selected);
    page.buDelete->setEnabled(selected);
}

void ExecutableList::buAddClick() {
    MoreGlobalOptionsPage& page = *dialog_.moreGlobalOptions;
    if (NameExists(page.edName->text())) {
        return;
    }
    AppendRow(page.edName->text(), page.edFile->text());
    RowsChanged();
    page.edName->clear();
    page.edFile->clear();
    CheckForButtons();
}

void ExecutableList::buChangeToClick() {
    QTreeWidgetItem* row = SelectedRow();
    if (row == nullptr) {
        return;
    }
    MoreGlobalOptionsPage& page = *dialog_.moreGlobalOptions;
    const QString oldName = row->text(0);
    row->setText(0, page.edName->text());
    row->setText(1, page.edFile->text());
    // The box loses the old name (with a beep) and gets the new one.
    SortedComboBox* combo = dialog_.general->comboExecutables;
    const int old = combo->findText(oldName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (old >= 0) {
        dialog_.Context().ui.Beep(BeepKind::Default);
        combo->removeItem(old);
    }
    combo->AddSorted(row->text(0));
    page.lvExecutables->sortItems(0, Qt::AscendingOrder);
    page.lvExecutables->scrollToItem(row);
    RowsChanged();
}

void ExecutableList::buDeleteClick() {
    if (QTreeWidgetItem* row = SelectedRow()) {
        RemoveRow(row);
        // The view would select a neighbour; the removed row leaves no selection behind.
        dialog_.moreGlobalOptions->lvExecutables->clearSelection();
    }
    CheckForButtons();
}

void ExecutableList::lvExecutablesDblClick() {
    if (const QTreeWidgetItem* row = SelectedRow()) {
        MoreGlobalOptionsPage& page = *dialog_.moreGlobalOptions;
        page.edName->setText(row->text(0));
        page.edFile->setText(row->text(1));
    }
}

void ExecutableList::buBrowseExecutableClick() {
    // Engines may live anywhere: a program outside the Quake directory is kept with its whole
    // path, one inside relative to it.
    AppContext& context = dialog_.Context();
    QLineEdit* edit = dialog_.moreGlobalOptions->edFile;
    FileDialogRequest request;
    request.initialDir = FromLocal(context.globals.Profile.Text(TextField::QuakePath));
    request.defaultName = edit->text();
    if (platform::ProgramsHaveExeSuffix()) {
        request.filterText = QStringLiteral("Executables (*.exe, *.bat)");
        request.filterPattern = QStringLiteral("*.exe;*.bat");
        request.defaultExt = QStringLiteral("EXE");
    } else {
        request.filterText = QStringLiteral("Programs (*)");
        request.filterPattern = QStringLiteral("*");
    }
    request.openMode = true;
    request.keepExtension = true;
    request.keepPath = true;
    request.relative = false;
    request.title = QStringLiteral("Select an executable...");
    if (const auto file = SelectFile(context.ui, request)) {
        edit->setText(StoredFileOf(ToLocal(*file)));
    }
}

int ExecutableList::buFindEnginesClick() {
    return OfferEngines(true);
}

int ExecutableList::OfferEngines(bool tellWhenNone, QString* firstAdded) {
    AppContext& context = dialog_.Context();
    const std::vector<FoundEngine> found = SearchEngines(context, &dialog_);
    // Engines already in the list (by file, or by where their file leads) are not offered.
    std::vector<std::string> known;
    for (const ExecutableEntry& row : Entries()) {
        known.push_back(row.file);
        if (const auto at = Locate(row.file)) {
            known.push_back(
                QFileInfo(FromLocal(*at)).canonicalFilePath().toLocal8Bit().toStdString());
        }
    }
    std::vector<FoundEngine> fresh;
    for (const FoundEngine& engine : found) {
        const std::string identity =
            QFileInfo(FromLocal(engine.path)).canonicalFilePath().toLocal8Bit().toStdString();
        const std::string stored = ToLocal(StoredFileOf(engine.path));
        if (std::find(known.begin(), known.end(), stored) == known.end() &&
            std::find(known.begin(), known.end(), identity) == known.end()) {
            fresh.push_back(engine);
            known.push_back(identity);
        }
    }
    if (fresh.empty()) {
        if (!tellWhenNone) {
            return 0;
        }
        context.ui.ShowMessage(
            QStringLiteral("No Quake engines were found beyond those in the list."),
            QStringLiteral("Something you should know..."), MessageIcon::Information);
        return 0;
    }
    ChoiceRequest request;
    request.title = QStringLiteral("Quake engines found");
    request.text = QStringLiteral(
        "These Quake engines were found on this computer. Tick the "
        "ones to add to your executables:");
    request.multiple = true;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        request.items << FromLocal(fresh[i].name) + QStringLiteral("   ") +
                             FromLocal(fresh[i].path);
        request.ticked.push_back(static_cast<int>(i));
    }
    const auto chosen = context.ui.ChooseFromList(request);
    if (!chosen) {
        return 0;
    }
    int added = 0;
    for (const int index : *chosen) {
        if (index < 0 || static_cast<std::size_t>(index) >= fresh.size()) {
            continue;
        }
        const FoundEngine& engine = fresh[static_cast<std::size_t>(index)];
        const QString file = StoredFileOf(engine.path);
        QString name = FromLocal(engine.name);
        if (NameExists(name)) {
            // A second engine of that name elsewhere: told apart by its folder.
            name += QStringLiteral(" (") + QFileInfo(FromLocal(engine.path)).absolutePath() +
                    QLatin1Char(')');
        }
        if (NameExists(name)) {
            continue;
        }
        AppendRow(name, file);
        if (added == 0 && firstAdded != nullptr) {
            *firstAdded = name;
        }
        ++added;
    }
    if (added > 0) {
        RowsChanged();
    }
    return added;
}

void ExecutableList::OfferEnginesOnFirstRun() {
    const std::vector<ExecutableEntry> builtIn = ExecutableTable::BuiltInRows();
    const std::vector<ExecutableEntry> rows = Entries();
    if (rows.empty()) {
        return;
    }
    for (const ExecutableEntry& row : rows) {
        const bool isBuiltIn =
            std::any_of(builtIn.begin(), builtIn.end(), [&row](const ExecutableEntry& b) {
                return b.name == row.name && EqualsIgnoringAsciiCase(b.file, row.file);
            });
        if (!isBuiltIn || Locate(row.file)) {
            return;
        }
    }
    // The built-in rows name nothing there is: the first engine the user took is the one to
    // run, not "DOS-Quake".
    QString firstAdded;
    if (OfferEngines(false, &firstAdded) > 0) {
        ShowExecutable(ToLocal(firstAdded));
        comboExecutablesChange();
    }
}

void ExecutableList::MarkMissingPrograms() {
    QTreeWidget* list = dialog_.moreGlobalOptions->lvExecutables;
    const QColor greyed = list->palette().color(QPalette::Disabled, QPalette::Text);
    QHash<QString, ProgramMark> marks;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        const auto where = Locate(ToLocal(row->text(1)));
        const bool missing = !where;
        marks.insert(
            row->text(0),
            {missing, missing ? QStringLiteral("This program was not found: ") + row->text(1)
                              : FromLocal(*where)});
        QFont font = row->font(0);
        font.setItalic(missing);
        for (int column = 0; column < 2; ++column) {
            row->setFont(column, font);
            if (missing) {
                row->setForeground(column, greyed);
                row->setToolTip(column,
                                QStringLiteral("This program was not found: ") + row->text(1));
            } else {
                row->setData(column, Qt::ForegroundRole, QVariant());
                row->setToolTip(column, FromLocal(*where));
            }
        }
    }
    MarkExecutableBox(*dialog_.general->comboExecutables, marks);
}

bool ExecutableList::IsMarkedMissing(const QString& name) const {
    const QTreeWidget* list = dialog_.moreGlobalOptions->lvExecutables;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        if (row->text(0) == name) {
            return row->font(0).italic();
        }
    }
    return false;
}

std::optional<std::string> ExecutableList::Locate(const std::string& file) const {
    return LocateProgram(file, ToLocal(dialog_.globalOptions->edQuakePath->text()),
                         DiscoveryPlaces());
}

QString ExecutableList::StoredFileOf(const std::string& path) const {
    const std::string quakePath = ToLocal(dialog_.globalOptions->edQuakePath->text());
    if (!quakePath.empty() && IsSameOrBelow(path, quakePath) && path.size() > quakePath.size()) {
        std::size_t start = quakePath.size();
        while (start < path.size() && platform::IsSeparator(path[start])) {
            ++start;
        }
        if (start < path.size()) {
            return FromLocal(PathInStoredCase(path.substr(start)));
        }
    }
    return FromLocal(PathInStoredCase(path));
}

void ExecutableList::comboExecutablesChange() {
    dialog_.Context().globals.Executable =
        ToLocal(dialog_.general->comboExecutables->currentText());
}

ExecutableList::~ExecutableList() {
    if (filtered_) {
        filtered_->removeEventFilter(this);
    }
}

bool ExecutableList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == filtered_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lvExecutablesDblClick();
            return true;
        }
        if (key == Qt::Key_Delete) {
            buDeleteClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QTreeWidgetItem* ExecutableList::SelectedRow() const {
    const QList<QTreeWidgetItem*> rows = dialog_.moreGlobalOptions->lvExecutables->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

bool ExecutableList::NameExists(const QString& name) const {
    const std::string wanted = ToLocal(name);
    for (const ExecutableEntry& row : Entries()) {
        // As the store compares names: two names it takes for one would lose a row.
        if (store::EqualsIgnoringCase(row.name, wanted)) {
            return true;
        }
    }
    return false;
}

void ExecutableList::AppendRow(const QString& name, const QString& file) {
    dialog_.moreGlobalOptions->lvExecutables->addTopLevelItem(new ExecutableRow(name, file));
    dialog_.general->comboExecutables->AddSorted(name);
}

void ExecutableList::RemoveRow(QTreeWidgetItem* row) {
    QComboBox* combo = dialog_.general->comboExecutables;
    const int entry = combo->findText(row->text(0), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry >= 0) {
        combo->removeItem(entry);
    }
    delete row;
    RowsChanged();
}

void ExecutableList::RowsChanged() {
    AppContext& context = dialog_.Context();
    context.executables.Assign(Entries());
    ShowExecutable(context.globals.Executable);
    MarkMissingPrograms();
}

}  // namespace fenmar::ui
