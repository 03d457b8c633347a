#include "ui/launch/PickerButtons.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "ui/launch/LaunchOptions.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/pickers/Pickers.h"
#include "ui/widgets/ComboText.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

PickerButtons::PickerButtons(TMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("pickers"));
    GeneralPage& general = *dialog.general;
    connect(general.buSelectPatch, &QPushButton::clicked, this, &PickerButtons::buSelectPatchClick);
    connect(general.buBrowseDemo, &QToolButton::clicked, this, &PickerButtons::buBrowseDemoClick);
    connect(general.buBrowsePatchDemo, &QToolButton::clicked, this,
            &PickerButtons::buBrowsePatchDemoClick);
    connect(dialog.options->buBrowseConfigFile, &QToolButton::clicked, this,
            &PickerButtons::buBrowseConfigFileClick);
    connect(dialog.globalOptions->buBrowseQSpy, &QToolButton::clicked, this,
            &PickerButtons::buBrowseQSpyClick);
}

void PickerButtons::buSelectPatchClick() {
    const QString patch = BrowseForPatch(dialog_.Context());
    if (patch.isEmpty()) {
        return;
    }
    SetComboText(dialog_.general->comboPatch, patch);
    dialog_.launchOptions->RefreshDemoButtons();
}

void PickerButtons::buBrowseDemoClick() {
    ShowDemo(BrowseDemoID1(dialog_.Context()));
}

void PickerButtons::buBrowsePatchDemoClick() {
    ShowDemo(BrowseDemoPatch(dialog_.Context()));
}

void PickerButtons::ShowDemo(const std::optional<QString>& demo) {
    if (demo) {
        SetComboText(dialog_.general->comboDemo, *demo);
    }
}

void PickerButtons::buBrowseConfigFileClick() {
    QLineEdit* edit = dialog_.options->edConfigFile;
    if (const auto file = BrowseConfigFile(dialog_.Context(), edit->text())) {
        edit->setText(*file);
    }
}

void PickerButtons::buBrowseQSpyClick() {
    QLineEdit* edit = dialog_.globalOptions->edQSpy;
    if (const auto file = BrowseQSpy(dialog_.Context(), edit->text())) {
        edit->setText(*file);
    }
}

}  // namespace fenmar::ui
