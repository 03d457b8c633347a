#include "ui/widgets/Controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVariant>

namespace fenmar::ui {

void SetTag(QWidget* widget, int tag) {
    widget->setProperty(kTagProperty, tag);
}

int TagOf(const QObject* object) {
    const QVariant tag = object->property(kTagProperty);
    return tag.isValid() ? tag.toInt() : -1;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tip) {
    return Named(new QPushButton(caption, parent), name, tip);
}

QToolButton* MakeBrowseButton(QWidget* parent, const QString& name, const QString& tip) {
    auto* button = Named(new QToolButton(parent), name, tip);
    // The style looks its icon up afresh each time: it keeps the one all the buttons share.
    QStyle* style = button->style();
    QVariant icon = style->property("fenmarBrowseIcon");
    if (!icon.isValid()) {
        icon = QVariant::fromValue(style->standardIcon(QStyle::SP_DirOpenIcon));
        style->setProperty("fenmarBrowseIcon", icon);
    }
    button->setIcon(icon.value<QIcon>());
    button->setAccessibleName(tip.isEmpty() ? QStringLiteral("Browse...") : tip);
    return button;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     const QString& tip) {
    return Named(new QCheckBox(caption, parent), name, tip);
}

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption, int tag,
                        const QString& tip) {
    auto* radio = Named(new QRadioButton(caption, parent), name, tip);
    SetTag(radio, tag);
    return radio;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& name, const QString& text, const QString& tip) {
    return Named(new QLineEdit(text, parent), name, tip);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, QWidget* buddy) {
    auto* label = Named(new QLabel(caption, parent), name);
    label->setTextFormat(Qt::PlainText);
    if (buddy != nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QGroupBox(caption, parent), name);
}

QGroupBox* MakeTitledGroup(QWidget* parent, const QString& name, const QString& caption) {
    auto* group = MakeGroup(parent, name, caption);
    group->setFont(BoldItalic(group->font(), 1.3));
    return group;
}

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

void EnableAll(std::initializer_list<QWidget*> controls, bool enabled) {
    for (QWidget* control : controls) {
        control->setEnabled(enabled);
    }
}

void ShowAll(std::initializer_list<QWidget*> controls, bool visible) {
    for (QWidget* control : controls) {
        control->setVisible(visible);
    }
}

void UseNormalFontInside(QGroupBox* group) {
    // Set each property explicitly: a font without set properties would just inherit again.
    QFont normal = group->parentWidget() != nullptr ? group->parentWidget()->font() : QFont();
    normal.setBold(false);
    normal.setItalic(false);
    normal.setPointSizeF(normal.pointSizeF());
    for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->setFont(normal);
    }
}

void StandInLabel::paintEvent(QPaintEvent* event) {
    if (cover_ == nullptr || !cover_->isVisible()) {
        QLabel::paintEvent(event);
    }
}

StandInLabel* MakeStandInLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = Named(new StandInLabel(caption, parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(10);
    return label;
}

QWidget* StackOver(QWidget* parent, StandInLabel* under, QWidget* over) {
    under->SetCover(over);
    auto* holder = new QWidget(parent);
    auto* grid = new QGridLayout(holder);
    grid->setContentsMargins(0, 0, 0, 0);
    under->setParent(holder);
    over->setParent(holder);
    grid->addWidget(under, 0, 0);
    grid->addWidget(over, 0, 0);
    over->raise();
    return holder;
}

QWidget* StackOverStandIn(QWidget* parent, QWidget* over, QLabel*& label, const QString& name,
                          const QString& caption) {
    StandInLabel* standIn = MakeStandInLabel(parent, name, caption);
    label = standIn;
    return StackOver(parent, standIn, over);
}

QFont BoldItalic(QFont font, double scale) {
    font.setBold(true);
    font.setItalic(true);
    if (scale != 1.0) {
        font.setPointSizeF(font.pointSizeF() * scale);
    }
    return font;
}

SortedComboBox::SortedComboBox(QWidget* parent) : QComboBox(parent) {
    setProperty("sorted", true);
}

int SortedComboBox::AddSorted(const QString& text) {
    int at = 0;
    while (at < count() && QString::compare(itemText(at), text, Qt::CaseInsensitive) <= 0) {
        ++at;
    }
    insertItem(at, text);
    return at;
}

}  // namespace fenmar::ui
