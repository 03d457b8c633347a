#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>
#include <QWidget>
#include <functional>

#include "ui/widgets/CutTextTips.h"

namespace fenmar {
namespace {

const QString kLong = QStringLiteral("/home/player/games/quake/a folder with a long name/id1");

// Hovers over the widget (or the edit inside it, whose question goes up to the combo box) and
// returns the tip shown, if any.
QString Hover(QWidget& widget) {
    QToolTip::hideText();
    QWidget* target = &widget;
    if (auto* combo = qobject_cast<QComboBox*>(&widget); combo && combo->lineEdit()) {
        target = combo->lineEdit();
    }
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), target->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(target, &help);
    const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return tip;
}

// A cut text shows whole, before the widget's own tip; a text that fits leaves the own tip.
TEST(CutTextTips, ACutOneLineTextShowsWholeBeforeTheOwnTip) {
    QWidget window;
    auto* editable = new QComboBox(&window);
    editable->setEditable(true);
    auto* fixed = new QComboBox(&window);
    auto* edit = new QLineEdit(&window);
    const struct {
        QWidget* widget;
        std::function<void(const QString&)> set;
    } widgets[] = {
        {editable, [&](const QString& text) { editable->setEditText(text); }},
        {fixed,
         [&](const QString& text) {
             fixed->clear();
             fixed->addItem(text);
         }},
        {edit, [&](const QString& text) { edit->setText(text); }},
    };
    ui::ShowCutTextAsTip(*editable);
    ui::ShowCutTextAsTip(*fixed);
    ui::ShowCutTextAsTip(*edit);
    window.resize(400, 200);
    window.show();
    for (const auto& [widget, set] : widgets) {
        widget->setGeometry(0, 0, 120, 24);
        widget->setToolTip(QStringLiteral("own tip"));
        set(kLong);
        EXPECT_EQ(Hover(*widget), kLong + "\n\nown tip") << widget->metaObject()->className();
        set(QStringLiteral("id1"));
        EXPECT_EQ(Hover(*widget), "own tip") << widget->metaObject()->className();
        widget->setToolTip({});
        set(kLong);
        EXPECT_EQ(Hover(*widget), kLong) << widget->metaObject()->className();
    }
}

}  // namespace
}  // namespace fenmar
