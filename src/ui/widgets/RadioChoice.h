#pragma once
// Radio buttons that choose one value: each carries its value as its tag.

#include <functional>
#include <initializer_list>

class QAbstractButton;
class QObject;

namespace fenmar::ui {

// Checks the radio whose tag is `tag`. When none has it, unchecks them all, which an exclusive
// set of radios otherwise refuses: a stored value out of range then shows as "nothing chosen".
// Checking a radio that was not checked runs its handler (see OnRadioChecked); unchecking runs
// nothing.
void CheckRadioByTag(std::initializer_list<QAbstractButton*> radios, int tag);

// Runs `handler` with the radio whenever one of `radios` becomes checked, by the user or by the
// program; `context` ends the connection when it is destroyed.
void OnRadioChecked(std::initializer_list<QAbstractButton*> radios, QObject* context,
                    const std::function<void(QAbstractButton*)>& handler);

}  // namespace fenmar::ui
