#include "ui/pages/QuickSetBar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"

namespace fenmar::ui {

QuickSetBar::QuickSetBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel1"));
    setFrameShape(QFrame::StyledPanel);
    comboQuickSet = Named(new SortedComboBox(this), QStringLiteral("comboQuickSet"),
                          QStringLiteral("Select a previously saved quick-set for most used "
                                         "settings."));
    comboQuickSet->setMinimumContentsLength(14);
    labQuickSet = MakeLabel(this, QStringLiteral("labQuickSet"), QStringLiteral("Q&uick-Set:"),
                            comboQuickSet);
    QFont bold = labQuickSet->font();
    bold.setBold(true);
    labQuickSet->setFont(bold);
    buQuickSaveAs = MakeButton(this, QStringLiteral("buQuickSaveAs"), QStringLiteral("save as"),
                               QStringLiteral("Save quick-set"));
    buQuickRenameTo = MakeButton(this, QStringLiteral("buQuickRenameTo"), QStringLiteral("rename"),
                                 QStringLiteral("Rename quick-set."));
    buQuickDelete = MakeButton(this, QStringLiteral("buQuickDelete"), QStringLiteral("delete"),
                               QStringLiteral("Delete quick-set (remove from registry)"));
    miCreateShortcut = new QAction(QStringLiteral("create desktop &shortcut..."), this);
    miCreateShortcut->setObjectName(QStringLiteral("miCreateShortcut"));
    miRemoveShortcut = new QAction(QStringLiteral("&remove desktop shortcut..."), this);
    miRemoveShortcut->setObjectName(QStringLiteral("miRemoveShortcut"));
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(comboQuickSet)}) {
        widget->addAction(miCreateShortcut);
        widget->addAction(miRemoveShortcut);
        widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(labQuickSet);
    row->addWidget(comboQuickSet, 1);
    row->addWidget(buQuickSaveAs);
    row->addWidget(buQuickRenameTo);
    row->addWidget(buQuickDelete);
}

int QuickSetBar::AddStoredName(const std::string& name) {
    const QString shown = FromLocal(name);
    const int row = comboQuickSet->AddSorted(shown);
    if (ToLocal(shown) != name) {
        comboQuickSet->setItemData(row, QByteArray::fromStdString(name));
    }
    return row;
}

std::string QuickSetBar::CurrentName() const {
    const QVariant bytes = comboQuickSet->currentData();
    if (bytes.typeId() == QMetaType::QByteArray) {
        return bytes.toByteArray().toStdString();
    }
    return ToLocal(comboQuickSet->currentText());
}

}  // namespace fenmar::ui
