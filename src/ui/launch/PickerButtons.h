#pragma once
// The browse buttons of the patch, demo, config-file and companion fields: each runs its
// picker (ui/pickers/Pickers.h) and puts a result into its field.

#include <QObject>
#include <optional>

namespace fenmar::ui {

class TMainDialog;

class PickerButtons : public QObject {
    Q_OBJECT
public:
    explicit PickerButtons(TMainDialog& dialog);

    void buSelectPatchClick();
    void buBrowseDemoClick();
    void buBrowsePatchDemoClick();
    void buBrowseConfigFileClick();
    void buBrowseQSpyClick();

private:
    void ShowDemo(const std::optional<QString>& demo);

    TMainDialog& dialog_;
};

}  // namespace fenmar::ui
