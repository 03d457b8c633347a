#pragma once
// The two dialogs that ask for a Quick-Set's name: "save as" and "rename to".

#include <QDialog>
#include <functional>

#include "ui/window/AppContext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fenmar::ui {

// A label, the name edit and OK/Cancel in a fixed 390 x 78 area centred on the screen.
class QuickSetNameDialog : public QDialog {
    Q_OBJECT
public:
    QuickSetNameDialog(AppContext& context, const QString& caption, const QString& prompt,
                       QWidget* parent);

    QLabel* labQuickSet;
    QLineEdit* edQuickSet;
    QPushButton* buOK;
    QPushButton* buCancel;

protected:
    // OK closes the dialog with OK, unless the name cannot name a Quick-Set (a backslash, or
    // longer than 255 characters): the user is told why and the dialog stays open.
    virtual void buOKClick();
    // False (after telling the user) when the entered name is unusable.
    bool NameUsable();
    void showEvent(QShowEvent* event) override;

    AppContext& Context() const { return context_; }

private:
    AppContext& context_;
};

class TQuickSaveAs : public QuickSetNameDialog {
    Q_OBJECT
public:
    explicit TQuickSaveAs(AppContext& context, QWidget* parent = nullptr);
};

class TQuickRenameTo : public QuickSetNameDialog {
    Q_OBJECT
public:
    explicit TQuickRenameTo(AppContext& context, QWidget* parent = nullptr);

    // Whether a Quick-Set of that name exists already (ignoring case); the owner sets it.
    void SetNameTaken(std::function<bool(const QString&)> taken) { nameTaken_ = std::move(taken); }

protected:
    // Asks before the new name overwrites an existing Quick-Set; Cancel keeps the dialog open.
    void buOKClick() override;

private:
    std::function<bool(const QString&)> nameTaken_;
};

}  // namespace fenmar::ui
