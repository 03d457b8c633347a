#pragma once
// What the Add-ons window reads from and fills in the launch page: the Quake directory in
// force, and for Play the game patch, the map and the additional parameters, then the run as
// "run Quake !" does it. The shell implements it over the main window.

#include <QString>
#include <QStringList>

namespace fenmar::ui {

class AddOnPlayTarget {
public:
    virtual ~AddOnPlayTarget() = default;
    // The Quake directory add-ons are installed into and played from ("" when none is set).
    virtual QString QuakeDirectory() const = 0;
    // Sets the Game patch, the Map and the additional parameters as a user would; no demo is
    // played or recorded and no server is joined.
    virtual void FillLaunch(const QString& gamePatch, const QString& map,
                            const QStringList& additionalParams) = 0;
    virtual void RunQuake() = 0;
};

}  // namespace fenmar::ui
