#pragma once
// "create desktop shortcut..." of the Quick-Set bar: a launcher that starts the selected
// Quick-Set with "fenmar --run", in the user's application menu and, when the user asks, on
// the desktop. Existing launchers are replaced only after asking. A Quick-Set's launchers
// follow it when it is renamed or deleted (after asking), and "remove desktop shortcut..."
// removes them.

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>

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
    void miRemoveShortcutClick();
    // The files written by the last click.
    const QStringList& Written() const { return written_; }

    // The Quick-Set `oldName` is now `newName` / is gone: its launchers are rewritten /
    // removed when the user agrees.
    void QuickSetRenamed(const std::string& oldName, const std::string& newName);
    void QuickSetDeleted(const std::string& name);

    // The launcher files of a Quick-Set in the two folders (also those written before their
    // names carried a hash, when they name this Quick-Set).
    QStringList LaunchersOf(const std::string& quickSet) const;

private:
    bool WriteInto(const QString& dir, const std::string& quickSet);
    QString ApplicationsFolder() const;
    QString DesktopFolder() const;
    // Removes `files`; false (after saying which) when one cannot be removed.
    bool RemoveFiles(const QStringList& files);

    TMainDialog& dialog_;
    QStringList written_;
};

}  // namespace fenmar::ui
