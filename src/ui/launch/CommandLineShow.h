#pragma once
// Shows a composed line in the Commandline row. In config-file mode the line ends with
// "+exec <file>"; the row then also shows what that file holds, so that everything that will
// run can be seen in the window.

#include <QString>
#include <QStringList>

namespace fenmar {
class LiveProfile;
}

namespace fenmar::ui {

class CommandLineRow;

// The lines of the config file the line executes, read back from the file just written; empty
// when the profile is not in config-file mode, the line does not execute the file or the file
// cannot be read.
QStringList ConfigLinesOf(const LiveProfile& profile, const QString& line);

// Sets the row's line, and its config-file lines as a second row and in the tool tip.
void ShowCommandLine(CommandLineRow& row, const LiveProfile& profile, const QString& line);

}  // namespace fenmar::ui
