#pragma once
// The Quick-Set bar's behaviour: choosing a Quick-Set loads it, and "save as", "rename" and
// "delete" keep the chooser and the stored Quick-Sets in step.

#include <QObject>
#include <QString>
#include <string>

namespace fenmar::ui {

class SettingsController;
class TMainDialog;

class QuickSetController : public QObject {
    Q_OBJECT
public:
    QuickSetController(TMainDialog& dialog, SettingsController& settings);

    // The user picked an entry: it is loaded. Selections made by the program load nothing.
    void comboQuickSetChange();
    void buQuickSaveAsClick();
    void buQuickRenameToClick();
    void buQuickDeleteClick();

    // The chooser's entry equal to `name` ignoring case, -1 when there is none.
    int FindQuickSet(const QString& name) const;

signals:
    // A stored Quick-Set got another name / was deleted (names as the store holds them), so
    // that what refers to it (desktop launchers) can follow.
    void renamed(const std::string& oldName, const std::string& newName);
    void deleted(const std::string& name);

private:
    // Selects `name`'s entry, adding it first when the chooser has none.
    void SelectAdding(const QString& name);

    TMainDialog& dialog_;
    SettingsController& settings_;
};

}  // namespace fenmar::ui
