#include "ui/widgets/RadioChoice.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include "ui/widgets/Controls.h"

namespace fenmar::ui {

namespace {
void Uncheck(QAbstractButton* radio) {
    QButtonGroup* group = radio->group();
    const bool groupExclusive = group != nullptr && group->exclusive();
    const bool autoExclusive = radio->autoExclusive();
    if (groupExclusive) {
        group->setExclusive(false);
    }
    radio->setAutoExclusive(false);
    radio->setChecked(false);
    radio->setAutoExclusive(autoExclusive);
    if (groupExclusive) {
        group->setExclusive(true);
    }
}
}  // namespace

void CheckRadioByTag(std::initializer_list<QAbstractButton*> radios, int tag) {
    for (QAbstractButton* radio : radios) {
        if (TagOf(radio) == tag) {
            radio->setChecked(true);
            return;
        }
    }
    for (QAbstractButton* radio : radios) {
        if (radio->isChecked()) {
            Uncheck(radio);
        }
    }
}

void OnRadioChecked(std::initializer_list<QAbstractButton*> radios, QObject* context,
                    const std::function<void(QAbstractButton*)>& handler) {
    for (QAbstractButton* radio : radios) {
        QObject::connect(radio, &QAbstractButton::toggled, context, [radio, handler](bool on) {
            if (on) {
                handler(radio);
            }
        });
    }
}

}  // namespace fenmar::ui
