#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include "ui/widgets/ComboText.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/RadioChoice.h"

namespace fenmar {
namespace {

QComboBox* EditableCombo(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems({QStringLiteral("<none>"), QStringLiteral("e1m1 - Slipgate Complex")});
    combo->setEditText(QStringLiteral("<none>"));
    return combo;
}

TEST(ComboText, RunsTheHandlerExactlyOnceWhetherOrNotTheTextChanges) {
    QWidget parent;
    QComboBox* combo = EditableCombo(&parent);
    std::vector<QString> seen;
    ui::OnComboChange(combo, [&] { seen.push_back(combo->currentText()); });

    ui::SetComboText(combo, QStringLiteral("dm3"));
    ui::SetComboText(combo, QStringLiteral("dm3"));
    EXPECT_EQ(seen, (std::vector<QString>{"dm3", "dm3"}));
    // A long text shows its start: the cursor is at its beginning.
    ui::SetComboText(combo,
                     QStringLiteral("b_bh10 - a very long title of a map, longer than the box"));
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);
}

TEST(ComboText, UserChangesRunTheHandlerToo) {
    QWidget parent;
    QComboBox* combo = EditableCombo(&parent);
    int runs = 0;
    ui::OnComboChange(combo, [&] { ++runs; });
    combo->lineEdit()->insert(QStringLiteral("x"));  // typing
    EXPECT_EQ(runs, 1);
    combo->setCurrentIndex(1);  // picking an entry from the list
    EXPECT_EQ(combo->currentText(), QStringLiteral("e1m1 - Slipgate Complex"));
    EXPECT_EQ(runs, 2);
}

TEST(ComboText, ReplacingTheHandlerKeepsOneConnection) {
    QWidget parent;
    QComboBox* combo = EditableCombo(&parent);
    int first = 0;
    int second = 0;
    ui::OnComboChange(combo, [&] { ++first; });
    ui::OnComboChange(combo, [&] { ++second; });
    combo->setEditText(QStringLiteral("start"));
    ui::SetComboText(combo, QStringLiteral("end"));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 2);
}

TEST(ComboText, DropDownListSelectsTheEntryOrNothing) {
    QWidget parent;
    auto* combo = new QComboBox(&parent);
    combo->addItems({QStringLiteral("GL-Quake"), QStringLiteral("WinQuake")});
    int runs = 0;
    ui::OnComboChange(combo, [&] { ++runs; });
    ui::SetComboText(combo, QStringLiteral("WinQuake"));
    EXPECT_EQ(combo->currentIndex(), 1);
    ui::SetComboText(combo, QStringLiteral("Unknown"));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(runs, 2);
    // Without a handler the text is still set.
    QComboBox* plain = EditableCombo(&parent);
    ui::SetComboText(plain, QStringLiteral("e2m1"));
    EXPECT_EQ(plain->currentText(), QStringLiteral("e2m1"));
}

TEST(RadioChoice, ChecksByTagAndUnchecksAllForAnUnknownValue) {
    QWidget parent;
    std::array<QRadioButton*, 3> radios{};
    for (std::size_t i = 0; i < radios.size(); ++i) {
        radios[i] = new QRadioButton(&parent);
        ui::SetTag(radios[i], static_cast<int>(i));
    }
    radios[1]->setChecked(true);
    std::vector<int> clicks;
    ui::OnRadioChecked({radios[0], radios[1], radios[2]}, &parent,
                       [&](QAbstractButton* radio) { clicks.push_back(ui::TagOf(radio)); });

    ui::CheckRadioByTag({radios[0], radios[1], radios[2]}, 1);  // already checked: nothing
    ui::CheckRadioByTag({radios[0], radios[1], radios[2]}, 2);
    ui::CheckRadioByTag({radios[0], radios[1], radios[2]}, 7);
    EXPECT_EQ(clicks, std::vector<int>{2});
    for (QRadioButton* radio : radios) {
        EXPECT_FALSE(radio->isChecked());
        EXPECT_TRUE(radio->autoExclusive());  // exclusivity is back
    }
    ui::CheckRadioByTag({radios[0], radios[1], radios[2]}, 0);
    radios[2]->setChecked(true);
    EXPECT_FALSE(radios[0]->isChecked());
    EXPECT_EQ(clicks, (std::vector<int>{2, 0, 2}));
}

}  // namespace
}  // namespace fenmar
