#include "ui/widgets/ComboText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QObject>

namespace fenmar::ui {

namespace {

// A long text ("name - title") shows its start, not its end, when the program sets it or an
// entry is picked; the cursor stays where it was while the user types.
void ShowStart(QComboBox* combo) {
    if (QLineEdit* edit = combo->lineEdit()) {
        edit->setCursorPosition(0);
    }
}

// Lives as a child of its chooser and holds the chooser's change handler.
class ComboChangeHandler : public QObject {
public:
    ComboChangeHandler(QComboBox* combo, std::function<void()> handler)
        : QObject(combo), handler_(std::move(handler)) {
        setObjectName(QString::fromLatin1(kName));
        // An editable chooser's text is its edit's text; a drop-down list's is the entry's.
        if (combo->isEditable()) {
            connect(combo, &QComboBox::editTextChanged, this, [this] { FromSignal(); });
            connect(combo, &QComboBox::textActivated, this, [combo] { ShowStart(combo); });
        } else {
            connect(combo, &QComboBox::currentTextChanged, this, [this] { FromSignal(); });
        }
    }

    void Replace(std::function<void()> handler) { handler_ = std::move(handler); }

    // Sets the text with the signal's run suppressed, then runs the handler once.
    template <typename Change>
    void Set(Change&& change) {
        const bool wasSetting = setting_;
        setting_ = true;
        change();
        setting_ = wasSetting;
        Run();
    }

    static ComboChangeHandler* Of(const QComboBox* combo) {
        return combo->findChild<ComboChangeHandler*>(QString::fromLatin1(kName),
                                                     Qt::FindDirectChildrenOnly);
    }

    static constexpr const char* kName = "fenmarComboChangeHandler";

private:
    void FromSignal() {
        if (!setting_) {
            Run();
        }
    }
    void Run() {
        if (handler_) {
            handler_();
        }
    }

    std::function<void()> handler_;
    bool setting_ = false;
};

void SetText(QComboBox* combo, const QString& text) {
    if (combo->isEditable()) {
        combo->setEditText(text);
        ShowStart(combo);
    } else {
        combo->setCurrentIndex(
            combo->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    }
}

}  // namespace

void OnComboChange(QComboBox* combo, std::function<void()> handler) {
    if (ComboChangeHandler* existing = ComboChangeHandler::Of(combo)) {
        existing->Replace(std::move(handler));
        return;
    }
    new ComboChangeHandler(combo, std::move(handler));
}

void SetComboText(QComboBox* combo, const QString& text) {
    ComboChangeHandler* handler = ComboChangeHandler::Of(combo);
    if (handler == nullptr) {
        SetText(combo, text);
        return;
    }
    handler->Set([&] { SetText(combo, text); });
}

}  // namespace fenmar::ui
