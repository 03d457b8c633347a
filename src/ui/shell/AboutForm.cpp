#include "ui/shell/AboutForm.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "core/GlobalSettings.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/DialogFlags.h"
#include "ui/widgets/ImageList.h"

namespace fenmar::ui {

TAboutForm::TAboutForm(AppContext& context, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), context_(context) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About......."));

    imgLogo = MakeLabel(this, QStringLiteral("imgLogo"), QString());
    imgLogo->setFixedSize(32, 32);
    // The emblem drawn at the label's size alone, not every size of the application icon.
    imgLogo->setPixmap(RotatingLogoFrame(0, 32, devicePixelRatioF()));
    labTitle = MakeLabel(this, QStringLiteral("labTitle"), QStringLiteral("Fenmar"));
    labTitle->setFont(BoldItalic(font(), 2.0));
    labTitle->setWordWrap(true);
    labTitle->setAlignment(Qt::AlignCenter);
    labVersion = MakeLabel(this, QStringLiteral("labVersion"), QString());
    QFont bold = labVersion->font();
    bold.setBold(true);
    labVersion->setFont(bold);
    labVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labLikeIt =
        MakeLabel(this, QStringLiteral("labLikeIt"),
                  QStringLiteral("If you like this piece of code, please let me know...  :)"));
    labNotice =
        MakeLabel(this, QStringLiteral("labNotice"),
                  QStringLiteral("A launcher for Quake engines.\nFree software: bug reports "
                                 "and ideas are welcome in the project's issue tracker."));
    labNotice->setAlignment(Qt::AlignCenter);
    buOK = MakeButton(this, QStringLiteral("buOK"), QStringLiteral("&Here we go..."));
    buOK->setDefault(true);
    connect(buOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* head = new QHBoxLayout;
    head->addWidget(imgLogo, 0, Qt::AlignTop);
    head->addWidget(labTitle, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(head);
    column->addWidget(labVersion);
    column->addSpacing(6);
    column->addWidget(labLikeIt, 0, Qt::AlignHCenter);
    column->addWidget(labNotice);
    column->addSpacing(6);
    column->addWidget(buOK, 0, Qt::AlignHCenter);
    column->setSizeConstraint(QLayout::SetFixedSize);

    // FormCreate
    labVersion->setText(
        QStringLiteral("Version ") +
        QLatin1String(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size())));
    tiIconTimer = new QTimer(this);
    tiIconTimer->setObjectName(QStringLiteral("tiIconTimer"));
    tiIconTimer->setInterval(100);
    connect(tiIconTimer, &QTimer::timeout, this, &TAboutForm::tiIconTimerTimer);
    tiIconTimer->start();
    ShowFrame();
}

void TAboutForm::FormActivate() {
    logoFrame_ = 0;
    ShowFrame();
}

void TAboutForm::tiIconTimerTimer() {
    logoFrame_ = static_cast<std::uint8_t>(logoFrame_ + 1);
    if (logoFrame_ > 5) {
        logoFrame_ = static_cast<std::uint8_t>(logoFrame_ - 6);
    }
    ShowFrame();
}

void TAboutForm::SetLogoFrames(const ImageList* frames) {
    frames_ = frames;
    ShowFrame();
}

void TAboutForm::ShowFrame() {
    if (frames_ != nullptr && logoFrame_ < frames_->Count()) {
        setWindowIcon(QIcon(frames_->At(logoFrame_)));
    } else {
        setWindowIcon(QIcon(RotatingLogoFrame(logoFrame_)));
    }
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
    CentreOnScreen(*this);
}

}  // namespace fenmar::ui
