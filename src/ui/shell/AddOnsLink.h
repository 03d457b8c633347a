#pragma once
// The Add-ons window's view of the main window: the Quake directory in force, and the launch
// page that Play fills before it runs the game as "run Quake !" does.

#include "ui/addons/AddOnPlayTarget.h"

namespace fenmar::ui {

class TMainDialog;

class MainWindowPlayTarget : public AddOnPlayTarget {
public:
    explicit MainWindowPlayTarget(TMainDialog& dialog) : dialog_(dialog) {}

    QString QuakeDirectory() const override;
    void FillLaunch(const QString& gamePatch, const QString& map,
                    const QStringList& additionalParams) override;
    void RunQuake() override;

private:
    TMainDialog& dialog_;
};

}  // namespace fenmar::ui
