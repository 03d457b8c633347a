#include "ui/services/QtUiServices.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/services/FolderDialog.h"
#include "ui/services/ChoiceDialog.h"

namespace fenmar::ui {

namespace {
QMessageBox::StandardButton ToQt(MessageResult r) {
    switch (r) {
        case MessageResult::Ok: return QMessageBox::Ok;
        case MessageResult::Cancel: return QMessageBox::Cancel;
        case MessageResult::Yes: return QMessageBox::Yes;
        case MessageResult::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}
}  // namespace

MessageResult QtUiServices::ShowMessage(const MessageRequest& request) {
    QMessageBox box(parent_);
    box.setText(request.text);
    box.setWindowTitle(request.caption.isEmpty() ? QApplication::applicationName()
                                                 : request.caption);
    switch (request.icon) {
        case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (request.buttons) {
        case MessageButtons::Ok: buttons = QMessageBox::Ok; break;
        case MessageButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MessageButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
        case MessageButtons::YesNoCancel:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
    }
    box.setStandardButtons(buttons);
    box.setDefaultButton(ToQt(request.defaultButton));
    switch (box.exec()) {
        case QMessageBox::Cancel: return MessageResult::Cancel;
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        default: break;
    }
    // Closing the box with Esc or its close box counts as Cancel where there is one.
    return (buttons & QMessageBox::Cancel) && box.clickedButton() == nullptr
               ? MessageResult::Cancel
               : MessageResult::Ok;
}

void QtUiServices::Beep(BeepKind) { QApplication::beep(); }

int QtUiServices::ExecModal(QDialog& dialog) { return dialog.exec(); }

QWidget* QtUiServices::Owner() const {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : parent_;
}

std::optional<QString> QtUiServices::ChooseFolder(const QString& root, const QString& initial,
                                                  const QString& title) {
    FolderDialog dialog(root, initial, title, Owner());
    if (dialog.exec() != QDialog::Accepted || dialog.SelectedPath().isEmpty()) {
        return std::nullopt;
    }
    return dialog.SelectedPath();
}

QString PatternsMatchingAnyCase(const QString& patterns) {
    QStringList out;
    for (const QString& one : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString pattern;
        for (const QChar c : one.trimmed()) {
            if (c.isLetter() && c.toLower() != c.toUpper()) {
                pattern += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
            } else {
                pattern += c;
            }
        }
        if (!pattern.isEmpty() && !out.contains(pattern)) {
            out.append(pattern);
        }
    }
    return out.join(QLatin1Char(' '));
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setWindowTitle(request.title);
    if (request.initialDir) {
        dialog.setDirectory(*request.initialDir);
    }
    // The caption already names the patterns ("(*.dem, *.qwd)"): show it alone.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(request.filterText + QStringLiteral(" (") +
                         PatternsMatchingAnyCase(request.filterPattern) + QLatin1Char(')'));
    dialog.setDefaultSuffix(request.defaultExt.toLower());
    if (request.openMode) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!request.defaultName.isEmpty()) {
        dialog.selectFile(request.defaultName.left(260));
    }
}

std::optional<QString> QtUiServices::ChooseFile(const FileDialogRequest& request) {
    // Qt's dialogs have no Help button and no read-only check box.
    QFileDialog dialog(Owner());
    ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

std::optional<std::vector<int>> QtUiServices::ChooseFromList(const ChoiceRequest& request) {
    return ShowChoiceDialog(request, Owner());
}

}  // namespace fenmar::ui
