#include "ui/window/SidePanels.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "ui/widgets/Artwork.h"
#include "ui/widgets/ClickableLabel.h"
#include "ui/widgets/Controls.h"

namespace fenmar::ui {

namespace {
constexpr int kColumnWidth = 97;
}

PlugInPanel::PlugInPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("panelPlugIn"));
    setToolTip(QStringLiteral("click on the icon to run the plug-in"));
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(kColumnWidth);
    Label6 = Named(new ClickableLabel(QStringLiteral("P&lug-In: (F12)"), this),
                   QStringLiteral("Label6"));
    Label6->setTextFormat(Qt::PlainText);
    Label6->setAlignment(Qt::AlignCenter);
    imActivePlugIn = Named(new ClickableLabel(this), QStringLiteral("imActivePlugIn"));
    imActivePlugIn->setFixedSize(32, 32);
    imActivePlugIn->setPixmap(DefaultPlugInIcon(32, devicePixelRatioF()));
    imActivePlugIn->setFocusPolicy(Qt::TabFocus);
    imActivePlugIn->installEventFilter(this);
    Label6->setBuddy(imActivePlugIn);
    connect(Label6, &ClickableLabel::clicked, this, &PlugInPanel::clicked);
    connect(imActivePlugIn, &ClickableLabel::clicked, this, &PlugInPanel::clicked);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(1);
    column->addWidget(Label6);
    column->addWidget(imActivePlugIn, 0, Qt::AlignHCenter);
}

void PlugInPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QFrame::mouseReleaseEvent(event);
}

bool PlugInPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imActivePlugIn && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit clicked();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

LogoColumn::LogoColumn(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("panelLogo"));
    setFixedWidth(kColumnWidth);
    imgQuakePanel = Named(new ClickableLabel(this), QStringLiteral("imgQuakePanel"),
                          QStringLiteral("About..."));
    imgQuakePanel->setCursor(Qt::PointingHandCursor);
    imgQuakePanel->setMinimumSize(kColumnWidth, 120);
    imgQuakePanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(imgQuakePanel);
}

void LogoColumn::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Repaint();
}

void LogoColumn::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    Repaint();  // the screen's pixel ratio is known now
}

void LogoColumn::Repaint() {
    imgQuakePanel->setPixmap(TallLogo(imgQuakePanel->size(), devicePixelRatioF()));
}

}  // namespace fenmar::ui
