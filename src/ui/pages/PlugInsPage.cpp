#include "ui/pages/PlugInsPage.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/widgets/Artwork.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/ListView.h"

namespace fenmar::ui {

void PathLabel::SetPath(const QString& path) {
    setText(path);
    UpdateTip();
    update();
}

QString PathLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

QSize PathLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("...")) * 2,
            QLabel::minimumSizeHint().height()};
}

void PathLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                          isEnabled(), ShownText(), foregroundRole());
}

void PathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    UpdateTip();
}

void PathLabel::UpdateTip() {
    if (!hintKept_) {
        hint_ = toolTip();
        hintKept_ = true;
    }
    const bool cut = ShownText() != text();
    setToolTip(cut ? hint_ + QLatin1Char('\n') + text() : hint_);
}

PlugInsPage::PlugInsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabPlugIns"));
    lvPlugIns = Named(new ListView(this), QStringLiteral("lvPlugIns"),
                      QStringLiteral("Double-click on a plug-in for usage."));
    lvPlugIns->SetColumns({{QStringLiteral("Name"), -1, Qt::AlignLeft},
                           {QStringLiteral("DLL"), 100, Qt::AlignRight},
                           {QStringLiteral("Version"), 60, Qt::AlignRight}});

    Panel2 = Named(new QFrame(this), QStringLiteral("Panel2"));
    labPlugInDir = Named(new PathLabel(QStringLiteral("<Plug-In directory>"), Panel2),
                         QStringLiteral("labPlugInDir"));
    labPlugInDir->setToolTip(QStringLiteral("This is the directory, where your plug-ins reside."));
    labPlugInDir->setMinimumWidth(40);
    labPlugInDir->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    viewStyleButtons = new QButtonGroup(this);
    viewStyleButtons->setObjectName(QStringLiteral("viewStyleButtons"));
    viewStyleButtons->setExclusive(true);
    const struct {
        QToolButton** button;
        const char* name;
        const char* tip;
    } views[] = {{&buIcons, "buIcons", "Large Icons"},
                 {&buSmlIcons, "buSmlIcons", "Small Icons"},
                 {&buList, "buList", "List"},
                 {&buDetails, "buDetails", "Details"}};
    auto* row = new QHBoxLayout(Panel2);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(labPlugInDir, 1);
    int tag = 0;
    for (const auto& v : views) {
        auto* button =
            Named(new QToolButton(Panel2), QString::fromLatin1(v.name), QString::fromLatin1(v.tip));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setAccessibleName(button->toolTip());
        SetTag(button, tag);
        viewStyleButtons->addButton(button, tag);
        row->addWidget(button);
        *v.button = button;
        ++tag;
    }
    buIcons->setChecked(true);
    PaintViewStyleIcons();
    buRefreshPlugIns =
        MakeButton(Panel2, QStringLiteral("buRefreshPlugIns"), QStringLiteral("refresh (F5)"),
                   QStringLiteral("Checks for new or modified plug-ins."));
    row->addWidget(buRefreshPlugIns);

    auto* page = new QVBoxLayout(this);
    page->addWidget(lvPlugIns, 1);
    page->addWidget(Panel2);
}

void PlugInsPage::PaintViewStyleIcons() {
    for (QAbstractButton* button : viewStyleButtons->buttons()) {
        button->setIcon(ViewStyleIcon(viewStyleButtons->id(button), palette()));
    }
}

void PlugInsPage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        PaintViewStyleIcons();  // the glyphs follow the palette (light or dark)
    }
}

}  // namespace fenmar::ui
