#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/widgets/UpDown.h"

namespace fenmar {
namespace {

void PressKey(QLineEdit& edit, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&edit, &press);
}

// The window's and the dialogs' up-down share one rule: the edit's number, limited to the
// range, is the position; a text that is not a number leaves the last position in force.
TEST(UpDownRule, ClampsTypedNumbersAndStepsFromTheLastPositionOverNonNumbers) {
    QLineEdit edit(QStringLiteral("26000"));
    ui::UpDown upDown(&edit, 0, 32767, 10);
    EXPECT_EQ(upDown.Position(), 26000);
    edit.setText(QStringLiteral("70000"));  // beyond the range: counts as the maximum
    EXPECT_EQ(upDown.Position(), 32767);
    upDown.StepBy(-1);
    EXPECT_EQ(edit.text(), QStringLiteral("32757"));
    edit.setText(QStringLiteral("-40"));
    upDown.StepBy(1);
    EXPECT_EQ(edit.text(), QStringLiteral("10"));
    edit.setText(QStringLiteral("26 000"));  // not a number: the last position stays
    EXPECT_EQ(upDown.Position(), 10);
    upDown.StepBy(1);
    EXPECT_EQ(edit.text(), QStringLiteral("20"));
    edit.setText(QStringLiteral("99999999999"));  // too long for a number, not the maximum
    EXPECT_EQ(upDown.Position(), 20);
    upDown.StepBy(100000);  // a huge step stops at the end of the range, without overflow
    EXPECT_EQ(edit.text(), QStringLiteral("32767"));
}

TEST(UpDownRule, ArrowKeysInTheEditStepOnlyWhileTheControlIsEnabled) {
    QLineEdit edit(QStringLiteral("30"));
    ui::UpDown upDown(nullptr, 0, 60, 5, 30);
    upDown.SetAssociate(&edit);
    int changes = 0;
    QObject::connect(&upDown, &QSpinBox::valueChanged, [&changes] { ++changes; });
    PressKey(edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("35"));
    PressKey(edit, Qt::Key_Down);
    PressKey(edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), QStringLiteral("25"));
    EXPECT_EQ(changes, 3);  // listeners of the window's up-downs hear every step
    upDown.setEnabled(false);
    PressKey(edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("25"));
    // A new edit takes the keys over; the old one no longer steps.
    QLineEdit other(QStringLiteral("50"));
    upDown.setEnabled(true);
    upDown.SetAssociate(&other);
    PressKey(edit, Qt::Key_Up);
    PressKey(other, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("25"));
    EXPECT_EQ(other.text(), QStringLiteral("55"));
}

}  // namespace
}  // namespace fenmar
