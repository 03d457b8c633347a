#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimer>

#include "ScriptedUiServices.h"
#include "core/GlobalSettings.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/PlugInsPage.h"
#include "ui/shell/AboutForm.h"
#include "ui/widgets/ClickableLabel.h"
#include "ui/widgets/ImageList.h"
#include "ui/widgets/ListView.h"
#include "ui/widgets/UpDown.h"
#include "ui/window/ActionBar.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"
#include "ui/window/SidePanels.h"

namespace fenmar {
namespace {

// Top-level windows, leaving out pop-ups (menus, drop-down lists).
int CountWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        n += w->windowType() == Qt::Window || w->windowType() == Qt::Dialog ? 1 : 0;
    }
    return n;
}

class AppShell : public ::testing::Test {
protected:
    test::ScriptedUiServices services;
    ui::AppContext context{services};
};

// Made at once (the tests) or after the main window (the program, whose main window's first
// reach for a dialog makes them all): the same windows in the same order.
TEST_F(AppShell, CreatesEveryWindowOnceHiddenInItsOrder) {
    for (const auto dialogs : {ui::AppWindows::Dialogs::Now, ui::AppWindows::Dialogs::Later}) {
        const int before = CountWindows();
        ui::AppWindows windows(context, dialogs);
        if (dialogs == ui::AppWindows::Dialogs::Later) {
            EXPECT_EQ(windows.CreationOrder().size(), 1U);
            EXPECT_EQ(windows.sound, nullptr);
        }
        EXPECT_EQ(windows.main->Windows(), &windows);
        windows.CreateDialogs();  // a second time changes nothing
        std::vector<QString> titles;
        for (QWidget* w : windows.CreationOrder()) {
            titles.push_back(w->windowTitle());
            EXPECT_TRUE(w->isHidden()) << w->windowTitle().toStdString();
        }
        const std::vector<QString> expected = {"Fenmar - launch Quake (the better way)",
                                               "Fenmar - Win95 memory-settings",
                                               "Fenmar - Sound-settings",
                                               "Fenmar - Network-settings",
                                               "About.......",
                                               "Fenmar - Troubleshooting",
                                               "Fenmar - save Quick-Set",
                                               "Fenmar - rename Quick-Set",
                                               "Browse for user-created maps...",
                                               "Executable not defined..."};
        EXPECT_EQ(titles, expected);
        EXPECT_EQ(windows.CreationOrder().front(), windows.main);
        // Ten windows, no more: nothing creates a window of its own on the side.
        EXPECT_EQ(CountWindows(), before + 10);
    }
}

TEST_F(AppShell, MainWindowOpensAtItsSmallestSizeAndShowsTheFirstPage) {
    ui::TMainDialog window(context);
    EXPECT_EQ(window.windowTitle(), "Fenmar - launch Quake (the better way)");
    EXPECT_EQ(window.minimumSize(), window.size());
    EXPECT_GE(window.width(), 569);
    EXPECT_GE(window.height(), 461);
    EXPECT_GT(window.maximumWidth(), window.width());  // it can be made larger
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QStringList tabs;
    for (int i = 0; i < window.PageControl1->count(); ++i) {
        tabs << window.PageControl1->tabText(i);
    }
    EXPECT_EQ(tabs, (QStringList{"General", "Multiplayer", "Plug-Ins", "Options", "Global options",
                                 "...more global options"}));
    EXPECT_EQ(window.PageControl1->currentIndex(), 0);
}

TEST_F(AppShell, MenusImageListsAndPlugInColumnsAreInPlace) {
    ui::TMainDialog window(context);
    auto texts = [](const QMenu* menu) {
        QStringList t;
        for (const QAction* a : menu->actions()) {
            t << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        return t;
    };
    EXPECT_EQ(texts(window.PlugInMenu), (QStringList{"&Execute", "&Reset", "-", "&Plug-Ins"}));
    EXPECT_EQ(window.PlugInMenu->defaultAction(), window.mi_execute);
    EXPECT_TRUE(window.miPlugIns->actions().isEmpty());
    EXPECT_EQ(texts(window.menuListView), (QStringList{"&use", "&delete", "query"}));
    EXPECT_EQ(window.menuListView->defaultAction(), window.use1);
    EXPECT_FALSE(window.delete1->isEnabled());
    EXPECT_FALSE(window.query1->isEnabled());

    EXPECT_EQ(window.ilLargePlugIn->ImageSize(), QSize(32, 32));
    EXPECT_EQ(window.ilSmallPlugIn->ImageSize(), QSize(16, 16));
    ASSERT_EQ(window.ilRotatingLogo->Count(), 6);
    EXPECT_EQ(window.tiIconTimer->interval(), 100);

    ui::ListView* list = window.plugIns->lvPlugIns;
    EXPECT_EQ(list->Model()->headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(list->Model()->headerData(1, Qt::Horizontal).toString(), "DLL");
    EXPECT_EQ(list->Model()->headerData(2, Qt::Horizontal).toString(), "Version");
    EXPECT_EQ(
        list->Model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
        Qt::AlignRight);
    EXPECT_EQ(list->Style(), ui::ViewStyle::LargeIcon);
}

TEST_F(AppShell, PlugInListKeepsRowsAndSelectionAcrossViewStyles) {
    ui::TMainDialog window(context);
    ui::ListView* list = window.plugIns->lvPlugIns;
    list->Clear();  // the window lists its plug-ins when it is created
    const int image = window.ilLargePlugIn->Add(QPixmap(32, 32));
    window.ilSmallPlugIn->Add(QPixmap(16, 16));
    list->AddRow({"<no plugin>", "<none>", "<none>"}, image);
    list->AddRow({"Sample", "libsample.so", "1.30"}, image);
    list->SelectRow(1);
    for (ui::ViewStyle style : {ui::ViewStyle::Report, ui::ViewStyle::List,
                                ui::ViewStyle::SmallIcon, ui::ViewStyle::LargeIcon}) {
        list->SetViewStyle(style);
        EXPECT_EQ(list->RowCount(), 2);
        EXPECT_EQ(list->SelectedRow(), 1);
        EXPECT_EQ(list->Text(1, 1), "libsample.so");
    }
    list->SetViewStyle(ui::ViewStyle::SmallIcon);
    EXPECT_EQ(list->IconView()->iconSize(), QSize(16, 16));
    list->Clear();
    EXPECT_EQ(list->SelectedRow(), -1);
}

TEST_F(AppShell, WindowIconTurnsOnlyWhileTheApplicationIsActive) {
    ui::TMainDialog window(context);
    EXPECT_TRUE(window.tiIconTimer->isActive());  // running from the start
    EXPECT_EQ(window.LogoFrame(), 0);

    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(window.tiIconTimer->isActive());
    QEvent activate(QEvent::ApplicationActivate);
    QCoreApplication::sendEvent(qApp, &activate);
    EXPECT_TRUE(window.tiIconTimer->isActive());

    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(window.tiIconTimer->isActive());
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(window.tiIconTimer->isActive());

    std::vector<int> frames;
    for (int i = 0; i < 7; ++i) {
        window.tiIconTimerTimer();
        frames.push_back(window.LogoFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));
    EXPECT_EQ(window.windowIcon().pixmap(32).toImage(), window.ilRotatingLogo->At(1).toImage());
}

TEST_F(AppShell, AboutBoxOpensFromTheLogoAndRestartsItsIconAtFrameZero) {
    ui::AppWindows windows(context);
    ui::TAboutForm& about = *windows.about;
    EXPECT_EQ(about.labVersion->text(), "Version 1.30");
    EXPECT_EQ(about.labTitle->text(), "Fenmar");
    EXPECT_EQ(about.buOK->text(), "&Here we go...");
    EXPECT_TRUE(about.tiIconTimer->isActive());
    EXPECT_EQ(about.tiIconTimer->interval(), 100);

    std::vector<int> frames;
    services.modalActions.push_back([&](QDialog&) {
        frames.push_back(about.LogoFrame());
        for (int i = 0; i < 7; ++i) {
            about.tiIconTimerTimer();
            frames.push_back(about.LogoFrame());
        }
        about.buOK->click();
    });
    services.modalActions.push_back([&](QDialog&) {
        frames.push_back(about.LogoFrame());
        about.buOK->click();
    });
    emit windows.main->panelLogo->imgQuakePanel->clicked();
    emit windows.main->panelLogo->imgQuakePanel->clicked();
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1, 0}));
    EXPECT_EQ(services.modalTitles, (std::vector<QString>{"About.......", "About......."}));
    EXPECT_EQ(about.windowIcon().pixmap(32).toImage(),
              windows.main->ilRotatingLogo->At(0).toImage());
}

TEST_F(AppShell, KeyHandlersSeeKeysBeforeTheFocusedControl) {
    ui::TMainDialog window(context);
    window.show();
    QLineEdit* edit = window.findChild<QLineEdit*>(QStringLiteral("edAddParams"));
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    std::vector<int> seen;
    window.AddKeyHandler([&](QKeyEvent& e) {
        seen.push_back(e.key());
        return e.key() == Qt::Key_F5;
    });
    for (int key : {Qt::Key_F5, Qt::Key_A}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                        key == Qt::Key_A ? QStringLiteral("a") : QString());
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : edit,
                                &press);
    }
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_F5, Qt::Key_A}));  // each key once
    EXPECT_EQ(edit->text(), "a");  // the unused key still reaches the edit
}

TEST(UpDown, StepsTheNumberInItsEditWithinTheRange) {
    QLineEdit edit(QStringLiteral("50"));
    ui::UpDown upDown(nullptr, 0, 100, 10, 50);
    upDown.SetAssociate(&edit);
    upDown.stepBy(1);
    EXPECT_EQ(edit.text(), "60");
    edit.setText(QStringLiteral("95"));  // typed by the user: stepped from there
    upDown.stepBy(1);
    EXPECT_EQ(edit.text(), "100");
    edit.setText(QStringLiteral("5"));
    upDown.stepBy(-1);
    EXPECT_EQ(edit.text(), "0");
}

TEST_F(AppShell, AboutBoxShowsTheStoredVersionAndTheMainWindowsLogoFrames) {
    ui::AppWindows windows(context);
    ui::TAboutForm& about = *windows.about;
    EXPECT_EQ(about.labVersion->text(),
              QStringLiteral("Version ") +
                  QString::fromLatin1(kSettingsVersion.data(),
                                      static_cast<qsizetype>(kSettingsVersion.size())));
    // Frames that only the main window's image list holds.
    ui::ImageList& frames = *windows.main->ilRotatingLogo;
    frames.Clear();
    for (int i = 0; i < 6; ++i) {
        QPixmap frame(32, 32);
        frame.fill(QColor::fromHsv(i * 60, 255, 255));
        frames.Add(frame);
    }
    std::vector<bool> matches;
    services.modalActions.push_back([&](QDialog&) {
        for (int i = 0; i < 7; ++i) {
            matches.push_back(about.windowIcon().pixmap(32).toImage() ==
                              frames.At(about.LogoFrame()).toImage());
            about.tiIconTimerTimer();
        }
        about.buOK->click();
    });
    emit windows.main->panelLogo->imgQuakePanel->clicked();
    EXPECT_EQ(matches, std::vector<bool>(7, true));
}

}  // namespace
}  // namespace fenmar
