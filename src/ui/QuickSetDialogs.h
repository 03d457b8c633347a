#pragma once
// The two dialogs that ask for a Quick-Set's name: "save as" and "rename to".

#include <QDialog>

#include "ui/AppContext.h"

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
    // OK closes the dialog with OK; a dialog that checks the name first overrides this.
    virtual void buOKClick();
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
};

}  // namespace fenmar::ui
