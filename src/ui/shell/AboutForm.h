#pragma once
// The about box: the program's title and version beside its turning icon.

#include <QDialog>
#include <cstdint>

#include "core/GlobalSettings.h"
#include "ui/window/AppContext.h"

class QLabel;
class QPushButton;
class QTimer;

namespace fenmar::ui {

// The program's version, as stored with the settings (also what "fenmar --version" prints).
inline constexpr std::string_view kProgramVersion = kSettingsVersion;

class ImageList;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(AppContext& context, QWidget* parent = nullptr);

    // The frame of the rotating logo the box's icon shows (0..5).
    std::uint8_t LogoFrame() const { return logoFrame_; }
    // The frames come from the main window's ilRotatingLogo; until it is set, the box draws
    // the same pictures itself.
    void SetLogoFrames(const ImageList* frames);

    QLabel* imgLogo;
    QLabel* labTitle;
    QLabel* labVersion;
    QLabel* labLikeIt;
    QLabel* labNotice;
    QPushButton* buOK;
    QTimer* tiIconTimer;

public slots:
    void tiIconTimerTimer();

protected:
    // Every showing starts the icon again at frame 0.
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void ShowFrame();

    [[maybe_unused]] AppContext& context_;
    std::uint8_t logoFrame_ = 0;
    const ImageList* frames_ = nullptr;
};

}  // namespace fenmar::ui
