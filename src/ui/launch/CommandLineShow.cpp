#include "ui/launch/CommandLineShow.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include "core/CommandLine.h"
#include "core/LiveProfile.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/ActionBar.h"

namespace fenmar::ui {

namespace {
constexpr qint64 kMostShown = 64 * 1024;  // a config file of ours is a few lines
}  // namespace

QStringList ConfigLinesOf(const LiveProfile& profile, const QString& line) {
    const QString name = FromLocal(profile.Text(TextField::ConfigFile));
    if (profile->CommandLineMode != 1 || name.isEmpty() ||
        !line.endsWith(QStringLiteral(" +exec ") + name)) {
        return {};
    }
    const auto path = ConfigFilePath(profile);
    if (!path) {
        return {};
    }
    QFile file(FromLocal(*path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = FromLocal(file.read(kMostShown).toStdString());
    QStringList lines = text.split(QRegularExpression(QStringLiteral("[\r\n]+")));
    lines.removeAll(QString());
    return lines;
}

void ShowCommandLine(CommandLineRow& row, const LiveProfile& profile, const QString& line) {
    row.edCommandLine->setText(line);
    const QStringList lines = ConfigLinesOf(profile, line);
    const QString name = FromLocal(profile.Text(TextField::ConfigFile));
    const QString shown = lines.isEmpty()
                              ? QString()
                              : name + QStringLiteral(": ") + lines.join(QStringLiteral("; "));
    row.labConfigLines->setText(shown);
    row.labConfigLines->setToolTip(
        lines.isEmpty() ? QString() : name + QStringLiteral(":\n") + lines.join(QChar('\n')));
    row.labConfigLines->setVisible(!lines.isEmpty());
    row.edCommandLine->setToolTip(lines.isEmpty() ? row.labCommandLine->toolTip()
                                                  : line + QStringLiteral("\n\n") +
                                                        row.labConfigLines->toolTip());
}

}  // namespace fenmar::ui
