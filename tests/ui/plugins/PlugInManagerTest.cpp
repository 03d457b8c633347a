// The plug-in manager of the main window with the real sample plug-ins, copied into a
// "PlugIns" directory beside a program directory of the test's own.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QToolButton>

#include "ScriptedUiServices.h"
#include "platform/DynamicLibrary.h"
#include "plugins/PlugInSettings.h"
#include "plugins/TPlugIn.h"
#include "store/OpenStore.h"
#include "store/PlugInKeys.h"
#include "store/RegistryHandling.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/PlugInsPage.h"
#include "ui/plugins/PlugInManager.h"
#include "ui/settings/SettingsController.h"
#include "ui/widgets/ClickableLabel.h"
#include "ui/widgets/ImageList.h"
#include "ui/widgets/ListView.h"
#include "ui/widgets/UpDown.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"
#include "ui/window/SidePanels.h"

namespace fenmar {
namespace {

QString Library(const char* name) {
    return QString::fromLatin1(name) + QString::fromLatin1(platform::LibrarySuffix());
}

class PlugInManagerTest : public ::testing::Test {
protected:
    PlugInManagerTest() {
        plugInDir = dir.path() + QStringLiteral("/PlugIns");
        QDir().mkpath(plugInDir);
        for (const char* name :
             {"DeathmatchRules", "WinQuakeSwitch", "MinimalPlugIn", "NotAPlugIn"}) {
            AddLibrary(name, Library(name));
        }
        context.programDir = dir.path().toStdString();
        store::SetPlugInStore(settings.get());
    }
    ~PlugInManagerTest() override {
        window.reset();  // frees the active plug-in first
        store::SetPlugInStore(nullptr);
    }

    // What the sample plug-in "Deathmatch rules" keeps in the current settings.
    void StoreDeathmatchMap(const char* map) {
        const store::Key key = store::CreateKey(
            *settings, SettingsBaseKey({}) + "\\PlugIn-Settings\\Deathmatch rules");
        store::RegWriteString(key, "Map", map);
    }

    void AddLibrary(const char* sample, const QString& as) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(FENMAR_TEST_PLUGIN_DIR "/") + Library(sample),
                                plugInDir + QLatin1Char('/') + as));
    }

    // The window, shown (so that visibility can be read) with the hooks counted.
    ui::TMainDialog& Window() {
        if (!window) {
            window = std::make_unique<ui::TMainDialog>(context);
            manager().Host().SetShowProfile([this] { ++shownProfiles; });
            manager().Host().SetBrowseMap([this] {
                ++mapBrowses;
                return mapAnswer;
            });
            manager().SetRestoreSettings([this](TPlugIn& slot) {
                RestorePlugInSettings(slot, *settings, SettingsBaseKey({}));
            });
            window->show();
            QApplication::setActiveWindow(window.get());
        }
        return *window;
    }
    ui::PlugInManager& manager() { return *window->plugInManager; }
    ui::ListView& list() { return *Window().plugIns->lvPlugIns; }
    TPlugIn& active() { return manager().ActivePlugIn(); }

    QStringList Row(int row) {
        return {list().Text(row, 0), list().Text(row, 1), list().Text(row, 2)};
    }
    int RowOf(const QString& file) {
        for (int row = 0; row < list().RowCount(); ++row) {
            if (list().Text(row, 1) == file) {
                return row;
            }
        }
        return -1;
    }
    QStringList MenuCaptions() {
        QStringList captions;
        for (QAction* item : Window().miPlugIns->actions()) {
            captions << item->text();
        }
        return captions;
    }

    // A real double-click on a row of the icon view.
    void DoubleClick(int row) {
        QListView* view = list().IconView();
        const QPoint at = view->visualRect(list().Model()->index(row, 0)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &event);
        }
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ui::TMainDialog& target = Window();
        QWidget* focus = QApplication::focusWidget();
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(focus != nullptr ? focus : &target, &press);
    }
    void Click(QWidget* widget) {
        const QPointF at(2, 2);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }
    QImage ActiveIcon() { return Window().panelPlugIn->imActivePlugIn->pixmap().toImage(); }
    QImage LargeImage(int row) {
        return Window().ilLargePlugIn->At(list().ImageIndex(row)).toImage();
    }

    QTemporaryDir dir;
    QString plugInDir;
    test::ScriptedUiServices services;
    ui::AppContext context{services};
    std::unique_ptr<store::Store> settings = store::OpenMemoryStore();
    std::unique_ptr<ui::TMainDialog> window;
    int shownProfiles = 0;
    int mapBrowses = 0;
    std::optional<std::string> mapAnswer;
};

TEST_F(PlugInManagerTest, ListsNoPlugInFirstThenEachPlugInWithItsVersion) {
    const QString dll = Library("DeathmatchRules");
    const QString winQuake = Library("WinQuakeSwitch");
    const QString minimal = Library("MinimalPlugIn");
    EXPECT_EQ(Window().plugIns->labPlugInDir->text(), plugInDir);
    ASSERT_EQ(list().RowCount(), 4);  // the library exporting nothing is not listed
    EXPECT_EQ(Row(0), (QStringList{"<no plugin>", "<none>", "<none>"}));
    EXPECT_EQ(Row(RowOf(dll)), (QStringList{"Deathmatch rules", dll, "1.30"}));
    EXPECT_EQ(Row(RowOf(winQuake)), (QStringList{"Switch to WinQuake", winQuake, "1.22"}));
    EXPECT_EQ(Row(RowOf(minimal)), (QStringList{"<no descritpion available>", minimal, "1.22"}));
    EXPECT_EQ(RowOf(Library("NotAPlugIn")), -1);

    // One image per row in both lists; the minimal plug-in shows the default icon.
    EXPECT_EQ(Window().ilLargePlugIn->Count(), 4);
    EXPECT_EQ(Window().ilSmallPlugIn->Count(), 4);
    EXPECT_EQ(LargeImage(RowOf(minimal)), LargeImage(0));
    EXPECT_NE(LargeImage(RowOf(dll)), LargeImage(0));
    EXPECT_EQ(Window().ilSmallPlugIn->At(list().ImageIndex(RowOf(dll))).size(), QSize(16, 16));

    // The sub-menu: every plug-in in list order, "<no plugin>" left out.
    QStringList inListOrder;
    for (int row = 1; row < list().RowCount(); ++row) {
        inListOrder << list().Text(row, 0);
    }
    EXPECT_EQ(MenuCaptions(), inListOrder);

    // Listing activates nothing; the context's slot is the manager's.
    EXPECT_EQ(active().FileName(), "<none>");
    EXPECT_EQ(context.activePlugIn, &active());

    Window().plugIns->buDetails->click();
    EXPECT_EQ(list().Style(), ui::ViewStyle::Report);
    Window().plugIns->buSmlIcons->click();
    EXPECT_EQ(list().Style(), ui::ViewStyle::SmallIcon);
}

TEST_F(PlugInManagerTest, WithoutPlugInDirectoryOnlyNoPlugInIsListed) {
    context.programDir = dir.path().toStdString() + "/elsewhere";
    ASSERT_EQ(list().RowCount(), 1);
    EXPECT_EQ(list().Text(0, 0), "<no plugin>");
    EXPECT_TRUE(MenuCaptions().isEmpty());
}

TEST_F(PlugInManagerTest, AllowListHidesGroupsShowsLabelsAndResetShowsThemAgain) {
    auto& g = *Window().general;
    DoubleClick(RowOf(Library("DeathmatchRules")));  // forbids the map and both demo kinds
    ASSERT_EQ(active().FileName(), Library("DeathmatchRules").toStdString());
    EXPECT_TRUE(g.GroupMap->isHidden());
    EXPECT_TRUE(g.groupDemos->isHidden());
    EXPECT_TRUE(g.labNoMap->isVisible());
    EXPECT_TRUE(g.labNoDemos->isVisible());
    EXPECT_FALSE(g.GroupPatch->isHidden());
    EXPECT_FALSE(g.groupSkill->isHidden());
    EXPECT_NE(ActiveIcon(), LargeImage(0));

    Window().mi_reset->trigger();
    EXPECT_EQ(active().FileName(), "<none>");
    EXPECT_FALSE(active().IsLoaded());
    EXPECT_FALSE(g.GroupMap->isHidden());
    EXPECT_FALSE(g.groupDemos->isHidden());
    EXPECT_EQ(ActiveIcon(), LargeImage(0));
}

TEST_F(PlugInManagerTest, EachPermissionHidesExactlyItsControls) {
    auto& g = *Window().general;
    auto& m = *Window().multiplayer;
    const std::vector<std::vector<QWidget*>> gated = {
        {g.GroupMap},
        {g.GroupPatch},
        {g.groupSkill},
        {g.cbPlayback},
        {g.cbRecord},
        {m.cbEnableServer, m.groupServerConfig},
        {m.cbConnectToServer},
        {m.cbTimeLimit, m.edTimeLimit, m.udTimeLimit, m.labTimeLimit},
        {m.cbFragLimit, m.edFragLimit, m.udFragLimit, m.labFragLimit},
        {m.groupPlayMode},
        {m.groupTeamMode},
        {m.cbNoExit},
        {}};
    std::vector<QWidget*> all = {g.groupDemos};
    for (const auto& controls : gated) {
        all.insert(all.end(), controls.begin(), controls.end());
    }
    for (std::size_t index = 0; index < gated.size(); ++index) {
        AllowList list = DefaultAllowList;
        list[index] = 0;
        manager().ApplyAllowList(&list);
        for (QWidget* control : all) {
            const bool forbidden =
                std::find(gated[index].begin(), gated[index].end(), control) != gated[index].end();
            EXPECT_EQ(control->isHidden(), forbidden)
                << "index " << index << ": " << control->objectName().toStdString();
        }
    }
    // The demo group goes only when both demo kinds are forbidden.
    AllowList noDemos = DefaultAllowList;
    noDemos[ALLOW_PLAYBACK] = noDemos[ALLOW_RECORD] = 0;
    manager().ApplyAllowList(&noDemos);
    EXPECT_TRUE(g.groupDemos->isHidden());
    manager().ApplyAllowList(nullptr);
    for (QWidget* control : all) {
        EXPECT_FALSE(control->isHidden()) << control->objectName().toStdString();
    }
}

TEST_F(PlugInManagerTest, DoubleClickRestoresSettingsButNotOnTheActivePlugIn) {
    const int row = RowOf(Library("DeathmatchRules"));
    StoreDeathmatchMap("e4m4");
    DoubleClick(row);
    EXPECT_EQ(active().GetParams(), "+map e4m4");  // its settings came back

    // Again on the active row: no reload (which would switch demos off), no restore.
    StoreDeathmatchMap("e3m3");
    context.globals.Profile->DemoState = 1;
    DoubleClick(row);
    EXPECT_EQ(context.globals.Profile->DemoState, 1);
    EXPECT_EQ(active().GetParams(), "+map e4m4");

    // The sub-menu loads it afresh, without restoring settings.
    Window().miPlugIns->actions().at(row - 1)->trigger();
    EXPECT_EQ(context.globals.Profile->DemoState, 0);
    EXPECT_EQ(active().GetParams(), "+map dm3");

    // Choosing "<no plugin>" resets.
    DoubleClick(0);
    EXPECT_FALSE(active().IsLoaded());
    EXPECT_EQ(ActiveIcon(), LargeImage(0));
}

TEST_F(PlugInManagerTest, SameDescriptionsAreMatchedFromTheFirstRow) {
    AddLibrary("DeathmatchRules", Library("DeathmatchCopy"));
    std::vector<int> rows;
    for (int row = 0; row < list().RowCount(); ++row) {
        if (list().Text(row, 0) == QStringLiteral("Deathmatch rules")) {
            rows.push_back(row);
        }
    }
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(list().Text(rows[0], 1), list().Text(rows[1], 1));
    Window().miPlugIns->actions().at(rows[1] - 1)->trigger();
    EXPECT_EQ(QString::fromStdString(active().FileName()), list().Text(rows[0], 1));
}

TEST_F(PlugInManagerTest, RefreshKeepsTheActivePlugInAndTheGating) {
    const QString dll = Library("DeathmatchRules");
    DoubleClick(RowOf(dll));
    const QImage icon = ActiveIcon();
    // The active library's file goes away, another appears.
    ASSERT_TRUE(QFile::remove(plugInDir + QLatin1Char('/') + dll));
    AddLibrary("WinQuakeSwitch", Library("Extra"));
    Press(Qt::Key_F5);

    EXPECT_EQ(RowOf(dll), -1);
    EXPECT_NE(RowOf(Library("Extra")), -1);
    EXPECT_EQ(list().RowCount(), 4);
    EXPECT_EQ(active().FileName(), dll.toStdString());
    EXPECT_TRUE(active().IsLoaded());
    EXPECT_TRUE(Window().general->GroupMap->isHidden());
    EXPECT_EQ(ActiveIcon(), icon);
    // Still runnable.
    Press(Qt::Key_F12);
    EXPECT_EQ(mapBrowses, 1);
}

TEST_F(PlugInManagerTest, F12ThePanelAndExecuteRunTheActivePlugIn) {
    Press(Qt::Key_F12);
    Click(Window().panelPlugIn->imActivePlugIn);
    Window().mi_execute->trigger();
    EXPECT_EQ(mapBrowses, 0);  // nothing active: nothing runs

    DoubleClick(RowOf(Library("DeathmatchRules")));
    const int shown = shownProfiles;
    mapAnswer = "e1m3 - The Necropolis";
    Press(Qt::Key_F12, Qt::ShiftModifier);
    EXPECT_EQ(mapBrowses, 1);
    EXPECT_EQ(context.globals.Profile->Deathmatch, 2);
    EXPECT_EQ(context.globals.Profile->FragLimit, 30);
    EXPECT_EQ(shownProfiles, shown + 1);

    mapAnswer.reset();  // cancelled: the plug-in reports no change, the window stays
    Click(Window().panelPlugIn->imActivePlugIn);
    Click(Window().panelPlugIn->Label6);
    Window().mi_execute->trigger();
    EXPECT_EQ(mapBrowses, 4);
    EXPECT_EQ(shownProfiles, shown + 1);
}

TEST_F(PlugInManagerTest, InfoFunctionOpensTheMapBrowser) {
    ui::AppWindows windows(context);
    ui::PlugInManager& plugIns = *windows.main->plugInManager;
    plugIns.ActivatePlugIn(Library("DeathmatchRules").toStdString());
    plugIns.mi_executeClick();  // the plug-in asks for a map; the user cancels
    EXPECT_EQ(services.modalTitles, (std::vector<QString>{"Browse for user-created maps..."}));
    EXPECT_EQ(plugIns.ActivePlugIn().GetParams(), "+map dm3");
}

TEST_F(PlugInManagerTest, ListMenuOffersUseOnlyForASelectedRow) {
    QMenu* menu = Window().menuListView;
    emit menu->aboutToShow();
    EXPECT_FALSE(Window().use1->isEnabled());
    EXPECT_FALSE(Window().delete1->isEnabled());
    EXPECT_FALSE(Window().query1->isEnabled());

    const int row = RowOf(Library("WinQuakeSwitch"));
    list().SelectRow(row);
    emit menu->aboutToShow();
    EXPECT_TRUE(Window().use1->isEnabled());
    EXPECT_FALSE(Window().delete1->isEnabled());  // removing plug-ins is not offered
    EXPECT_FALSE(Window().query1->isEnabled());
    Window().use1->trigger();
    EXPECT_EQ(active().FileName(), Library("WinQuakeSwitch").toStdString());
}

}  // namespace
}  // namespace fenmar

namespace fenmar {
namespace {

// Where the desktop opens items with one click, Qt reports a single click as `activated`.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_ItemView_ActivateItemOnSingleClick) {
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

TEST_F(PlugInManagerTest, OnlyDoubleClickOrReturnChoosesARowEvenWithSingleClickDesktops) {
    QListView* view = list().IconView();
    auto* style = new SingleClickStyle;
    style->setParent(qApp);  // outlives the window
    view->setStyle(style);
    const int row = RowOf(Library("DeathmatchRules"));
    const QPoint at = view->visualRect(list().Model()->index(row, 0)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }
    EXPECT_EQ(list().SelectedRow(), row);
    EXPECT_FALSE(active().IsLoaded());  // a click only selects

    view->setFocus();
    view->setCurrentIndex(list().Model()->index(row, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    EXPECT_TRUE(active().IsLoaded());
    EXPECT_EQ(active().FileName(), Library("DeathmatchRules").toStdString());

    DoubleClick(0);
    EXPECT_FALSE(active().IsLoaded());
}

TEST_F(PlugInManagerTest, SpaceAndEnterOnTheFocusedIconRunThePlugIn) {
    DoubleClick(RowOf(Library("DeathmatchRules")));
    ui::ClickableLabel* icon = Window().panelPlugIn->imActivePlugIn;
    EXPECT_TRUE(icon->focusPolicy() & Qt::TabFocus);
    int runs = 0;
    for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(icon, &press);
        if (key != Qt::Key_A) {
            ++runs;
        }
        EXPECT_EQ(mapBrowses, runs) << key;  // the sample asks for a map when it runs
    }
}

TEST_F(PlugInManagerTest, ALongPlugInDirectoryIsShortenedInTheMiddle) {
    ui::PathLabel& label = *Window().plugIns->labPlugInDir;
    const QString hint = QStringLiteral("This is the directory, where your plug-ins reside.");
    const QString path = QStringLiteral("/home/player/games/") + QString(120, QLatin1Char('q')) +
                         QStringLiteral("/fenmar/PlugIns");
    label.SetPath(path);
    label.resize(160, label.height());
    const QString shown = label.ShownText();
    EXPECT_EQ(label.text(), path);
    EXPECT_LT(shown.size(), path.size());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("PlugIns"))) << shown.toStdString();
    EXPECT_EQ(label.toolTip(), hint + QLatin1Char('\n') + path);

    label.SetPath(QStringLiteral("/short"));
    EXPECT_EQ(label.ShownText(), QStringLiteral("/short"));
    EXPECT_EQ(label.toolTip(), hint);
}

TEST_F(PlugInManagerTest, AQuickSetBringsBackThePlugInItsIconAndItsSettings) {
    context.store = settings.get();
    DoubleClick(RowOf(Library("DeathmatchRules")));
    const QImage icon = ActiveIcon();
    mapAnswer = "e2m6 - The Dismal Oubliette";
    Press(Qt::Key_F12);  // the plug-in now keeps the map e2m6
    ASSERT_EQ(active().GetParams(), "+map e2m6");
    Window().settings->SaveQuickSet("Duel");

    DoubleClick(0);  // unloaded: a fresh load would start at its own default map
    ASSERT_FALSE(active().IsLoaded());
    ASSERT_NE(ActiveIcon(), icon);
    EXPECT_FALSE(Window().findChild<QWidget*>(QStringLiteral("GroupMap"))->isHidden());

    Window().settings->LoadQuickSet("Duel");
    EXPECT_TRUE(active().IsLoaded());
    EXPECT_EQ(active().FileName(), Library("DeathmatchRules").toStdString());
    EXPECT_EQ(ActiveIcon(), icon);
    EXPECT_EQ(active().GetParams(), "+map e2m6");
    EXPECT_TRUE(Window().findChild<QWidget*>(QStringLiteral("GroupMap"))->isHidden());
}

}  // namespace
}  // namespace fenmar
