#pragma once
// "create desktop shortcut..." of the Quick-Set bar: a launcher that starts the selected
// Quick-Set with "fenmar --run", in the user's application menu and, when the user asks, on
// the desktop. Existing launchers are replaced only after asking.

#include <QObject>
#include <QString>
#include <QStringList>

namespace fenmar::ui {

class TMainDialog;

class ShortcutController : public QObject {
    Q_OBJECT
public:
    explicit ShortcutController(TMainDialog& dialog);

    // Where launchers go; empty folders fall back to the system's standard places.
    QString applicationsDir;
    QString desktopDir;
    QString programPath;  // the program the launcher starts; default: this program

    void miCreateShortcutClick();
    // The files written by the last click.
    const QStringList& Written() const { return written_; }

private:
    bool WriteInto(const QString& dir, const QString& quickSet);

    TMainDialog& dialog_;
    QStringList written_;
};

}  // namespace fenmar::ui
