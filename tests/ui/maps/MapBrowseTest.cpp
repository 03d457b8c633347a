#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "../maps/BspFiles.h"
#include "../maps/MapFiles.h"
#include "Environment.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "maps/Pk3Scan.h"
#include "store/OpenStore.h"
#include "store/RegistryHandling.h"
#include "ui/maps/MapBoxPreview.h"
#include "ui/maps/MapBrowse.h"
#include "ui/maps/MapFilter.h"

namespace fenmar::ui {
namespace {

using test::MakeBsp;
using test::MakePak;
using test::WorldWithTitle;

QStringList Rows(const QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        out << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
    }
    return out;
}

QLabel* NoticeOf(const QTreeWidget* list) {
    return list->parentWidget()->findChild<QLabel*>(list->objectName() + "Notice");
}

// A Quake directory: three maps in id1/maps, a patch "ctf" with its own MAPS directory and
// two archives.
class MapBrowseTest : public ::testing::Test {
protected:
    MapBrowseTest() : context(ui), browser(context) {
        tmp.WriteFile("ID1/maps/e1m2.bsp", MakeBsp(WorldWithTitle("Castle of the Damned")));
        tmp.WriteFile("ID1/maps/E1M1.BSP", MakeBsp(WorldWithTitle("the Slipgate Complex")));
        tmp.WriteFile("ID1/maps/start.bsp", MakeBsp("{ \"classname\" \"worldspawn\" }"));
        tmp.WriteFile("ID1/maps/b_bh10.bsp", MakeBsp("{}", 2000));  // a box model
        tmp.WriteFile("ctf/MAPS/ctf1.bsp", MakeBsp(WorldWithTitle("Capture")));
        const std::string map = MakeBsp(WorldWithTitle("Inside"));
        tmp.WriteFile("ctf/pak1.pak", MakePak({{"maps/zed.bsp", map}, {"maps/abc.bsp", map}}));
        tmp.WriteFile("ctf/PAK0.PAK", MakePak({{"maps/mid.bsp", map}, {"progs/x.mdl", map}}));
        context.globals.Profile.SetText(TextField::QuakePath, tmp.Str());
        context.globals.Profile.SetText(TextField::GamePatch, "ctf");
        browser.SetCacheFile((tmp.Path() / "cache" / "maps.sqlite").string());
    }

    void Show() {
        browser.FormShow();
        browser.WaitForScan();
    }

    test::TempDir tmp;
    test::ScriptedUiServices ui;
    AppContext context;
    TMapBrowse browser;
};

TEST_F(MapBrowseTest, ListsTheMapsOfTheGameThePatchAndItsArchives) {
    EXPECT_EQ(browser.windowTitle(), "Browse for user-created maps...");
    EXPECT_EQ(browser.size(), QSize(983, 368));
    Show();
    EXPECT_EQ(Rows(browser.lvID1Maps()),
              (QStringList{"e1m1|the Slipgate Complex", "e1m2|Castle of the Damned",
                           "start|<no description>"}));
    EXPECT_EQ(Rows(browser.lvPatchMaps()), QStringList{"ctf1|Capture"});
    EXPECT_EQ(Rows(browser.lvBuiltInMaps()),
              (QStringList{"abc|Inside", "mid|Inside", "zed|Inside"}));
    for (const QTreeWidget* list :
         {browser.lvID1Maps(), browser.lvPatchMaps(), browser.lvBuiltInMaps()}) {
        EXPECT_FALSE(list->isHidden());
        EXPECT_TRUE(NoticeOf(list)->isHidden());
        EXPECT_EQ(list->headerItem()->text(0), "Filename");
        EXPECT_EQ(list->columnWidth(1), 300);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MapBrowseTest, TheHeadingNamesTheFolderWithThePlatformsSeparator) {
    const QString expected =
        test::SystemIsWindows() ? "Contents of ID1\\MAPS:" : "Contents of ID1/MAPS:";
    QStringList texts;
    for (const QLabel* label : browser.findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains(expected)) << texts.join(" | ").toStdString();
}

TEST_F(MapBrowseTest, SaysHowManyMapsTheThresholdHidesAndShowsThemGreyedOnRequest) {
    tmp.WriteFile("ctf/MAPS/tiny.bsp", MakeBsp("{}", 300));
    for (const bool titlesRead : {true, false}) {
        context.globals.DontScanBSPMsgs = !titlesRead;
        Show();
        EXPECT_EQ(Rows(browser.lvPatchMaps()).size(), 1);
        EXPECT_TRUE(browser.labHiddenMaps()->text().startsWith("2 maps under 20 KB not shown."))
            << browser.labHiddenMaps()->text().toStdString();

        emit browser.labHiddenMaps()->linkActivated("show");
        EXPECT_EQ(Rows(browser.lvPatchMaps()).size(), 2);
        EXPECT_EQ(Rows(browser.lvPatchMaps()).last(), "tiny|<under 20 KB>");
        const QTreeWidgetItem* box = browser.lvID1Maps()->topLevelItem(0);
        EXPECT_EQ(box->text(0), "b_bh10");
        EXPECT_EQ(box->foreground(0).color(),
                  browser.palette().color(QPalette::Disabled, QPalette::Text));
        EXPECT_TRUE(browser.labHiddenMaps()->text().startsWith("2 maps under 20 KB shown greyed"));
        emit browser.labHiddenMaps()->linkActivated("hide");
        EXPECT_EQ(Rows(browser.lvID1Maps()).size(), 3);
        EXPECT_EQ(Rows(browser.lvPatchMaps()).size(), 1);
    }
    context.globals.MinBSPSize = 1;
    Show();
    EXPECT_EQ(browser.labHiddenMaps()->text().left(28), "1 map under 1 KB not shown. ");
    context.globals.MinBSPSize = 0;
    Show();
    EXPECT_EQ(browser.labHiddenMaps()->text(), "") << "none hidden, no line";
    EXPECT_EQ(Rows(browser.lvPatchMaps()).size(), 2);
}

TEST_F(MapBrowseTest, APk3MapIsMarkedAndPickingItWarnsWhenTheEngineMayNotReadIt) {
    if (!maps::Pk3Supported()) {
        GTEST_SKIP() << "PK3 part skipped: this build has no zip library (libzip)";
    }
    tmp.WriteFile("ctf/maps.pk3",
                  test::MakeStoredZip({{"maps/pk3map.bsp", MakeBsp(WorldWithTitle("In a PK3"))}}));
    context.executables.Add({"QuakeSpasm", "/usr/games/quakespasm"});
    context.executables.Add({"DarkPlaces", "darkplaces-sdl"});
    const struct {
        const char* engine;
        const char* map;
        bool warned;
    } cases[] = {
        {"QuakeSpasm", "pk3map", true},
        {"GL-Quake", "pk3map", true},
        {"DarkPlaces", "pk3map", false},
        {"QuakeSpasm", "mid", false},  // from a PAK
    };
    for (const auto& c : cases) {
        context.globals.Executable = c.engine;
        ui.messages.clear();
        bool marked = false;
        ui.modalActions.push_back([&](QDialog& d) {
            browser.WaitForScan();
            QTreeWidgetItem* row = browser.lvBuiltInMaps()->findItems(c.map, Qt::MatchExactly)[0];
            marked = !row->icon(0).isNull() && row->toolTip(0).contains("PK3");
            browser.lvBuiltInMaps()->setCurrentItem(row);
            d.findChild<QPushButton*>("buOK")->click();
        });
        const std::optional<QString> picked = browser.Execute();
        ASSERT_TRUE(picked) << c.engine << " " << c.map;
        EXPECT_TRUE(picked->startsWith(QString(c.map) + " - ")) << "picked all the same";
        EXPECT_EQ(marked, c.warned) << c.engine << " " << c.map;
        ASSERT_EQ(ui.messages.size(), c.warned ? 1u : 0u) << c.engine << " " << c.map;
        if (c.warned) {
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
            EXPECT_TRUE(ui.messages[0].text.contains(c.engine));
            EXPECT_TRUE(ui.messages[0].text.contains("pk3map"));
        }
    }
}

TEST_F(MapBrowseTest, ALargerWindowGivesItsListsAndTheirColumnsTheRoom) {
    browser.show();
    browser.WaitForScan();
    const QTreeWidget* list = browser.lvPatchMaps();
    const int listWidth = list->width();
    const int description = list->columnWidth(1);
    browser.resize(1800, 900);
    QCoreApplication::processEvents();
    EXPECT_EQ(browser.minimumSize(), QSize(983, 368)) << "the design size is the smallest";
    EXPECT_GT(list->width(), listWidth + 150);
    EXPECT_GT(list->height(), 297 + 400);
    EXPECT_GT(list->columnWidth(1), description);
    EXPECT_LT(list->geometry().right(), browser.lvBuiltInMaps()->geometry().left());
    EXPECT_LE(browser.edMap()->geometry().bottom(), 900);
    EXPECT_GT(browser.edMap()->geometry().top(), 800) << "the rows keep to the bottom";
    EXPECT_GT(browser.previewPane()->geometry().left(), list->geometry().right());
    EXPECT_GT(browser.previewPane()->geometry().right(), 1800 - 10) << "the picture keeps right";
    browser.reject();
}

// The size the user gave the browser is kept beside the main window's and given back at the
// next start; a kept size below the design size (or a damaged one) still opens at that size.
TEST_F(MapBrowseTest, KeepsItsSizeForTheNextStartButNeverBelowTheDesignSize) {
    auto store = store::OpenStoreAt((tmp.Path() / "settings.sqlite").string()).store;
    const std::string key = std::string(store::kFenmarRoot) + "\\Windows\\MapBrowser";
    const auto openedSize = [&] {
        AppContext later(ui);
        later.store = store.get();
        TMapBrowse again(later);
        again.SetCacheFile("");
        again.show();
        const QSize size = again.size();
        again.reject();
        return size;
    };
    context.store = store.get();
    browser.show();
    browser.resize(1200, 560);
    browser.reject();
    EXPECT_EQ(store::RegReadInteger(*store, key, "Width"), 1200);
    EXPECT_EQ(store::RegReadInteger(*store, key, "Height"), 560);
    // No larger than the screen's free area (800x600 offscreen), no smaller than the design.
    const QSize room = browser.screen()->availableGeometry().size();
    EXPECT_EQ(openedSize(), QSize(1200, 560).boundedTo(room).expandedTo(QSize(983, 368)));

    const struct { int width, height; } kept[] = {{300, 200}, {-5, 900}, {1200, 0}};
    for (const auto& [width, height] : kept) {
        store::RegWriteInteger(*store, key, "Width", width);
        store::RegWriteInteger(*store, key, "Height", height);
        EXPECT_EQ(openedSize(), QSize(983, 368)) << width << "x" << height;
    }
    context.store = nullptr;
}

TEST_F(MapBrowseTest, WithoutAPatchShowsTheNoticesOfTheLaterLists) {
    context.globals.Profile.SetText(TextField::GamePatch, "<none>");
    context.globals.DontScanBSPMsgs = true;
    context.globals.MinBSPSize = 0;
    Show();
    EXPECT_EQ(browser.lvID1Maps()->topLevelItemCount(), 4);
    EXPECT_EQ(browser.lvID1Maps()->topLevelItem(0)->text(1), "<not scanned>");
    EXPECT_TRUE(browser.lvPatchMaps()->isHidden());
    EXPECT_FALSE(NoticeOf(browser.lvPatchMaps())->isHidden());
    EXPECT_TRUE(browser.lvBuiltInMaps()->isHidden());
    EXPECT_EQ(NoticeOf(browser.lvBuiltInMaps())->text(),
              "Sorry, you don't have any PAK-files in your current patch-directory.");
}

TEST_F(MapBrowseTest, ReturnsTheSelectedRowAndKeepsItForTheNextShowing) {
    ui.modalActions.push_back([this](QDialog& d) {
        browser.WaitForScan();
        auto* list = d.findChild<QTreeWidget*>("lvBuiltInMaps");
        list->setCurrentItem(list->topLevelItem(1));  // selects "mid"
        d.findChild<QPushButton*>("buOK")->click();
    });
    EXPECT_EQ(browser.Execute(), std::optional<QString>("mid - Inside"));
    EXPECT_EQ(ui.modalTitles.back(), "Browse for user-created maps...");

    // Next time the lists are scanned afresh, edMap keeps its text, Cancel returns nothing.
    tmp.WriteFile("ID1/maps/new.bsp", MakeBsp("{}"));
    QString seen;
    int id1Rows = 0;
    ui.modalActions.push_back([&](QDialog& d) {
        browser.WaitForScan();
        seen = d.findChild<QLineEdit*>("edMap")->text();
        id1Rows = d.findChild<QTreeWidget*>("lvID1Maps")->topLevelItemCount();
        d.findChild<QPushButton*>("buCancel")->click();
    });
    EXPECT_EQ(browser.Execute(), std::nullopt);
    EXPECT_EQ(seen, "mid - Inside");
    EXPECT_EQ(id1Rows, 4);

    // Typed text comes back as typed, also to a plug-in; an empty text is a choice too.
    ui.modalActions.push_back([](QDialog& d) {
        d.findChild<QLineEdit*>("edMap")->setText("dm6 - my own");
        d.accept();
    });
    EXPECT_EQ(browser.ExecuteForPlugIn(), std::optional<std::string>("dm6 - my own"));
    ui.modalActions.push_back([](QDialog& d) {
        d.findChild<QLineEdit*>("edMap")->clear();
        d.accept();
    });
    EXPECT_EQ(browser.Execute(), std::optional<QString>(""));
}

TEST_F(MapBrowseTest, DoubleClickClosesOnlyWithASelectedRow) {
    ui.modalActions.push_back([this](QDialog& d) {
        browser.WaitForScan();
        browser.lvMapsDblClick(browser.lvID1Maps());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(browser.result(), QDialog::Rejected);
        QTreeWidgetItem* row = browser.lvID1Maps()->findItems("start", Qt::MatchExactly)[0];
        row->setSelected(true);
        EXPECT_EQ(browser.edMap()->text(), "start - <no description>");
        browser.lvMapsDblClick(browser.lvID1Maps());
    });
    EXPECT_EQ(browser.Execute(), std::optional<QString>("start - <no description>"));
}

TEST_F(MapBrowseTest, AReadErrorEndsTheShowingAndLeavesTheLaterListsAsTheyWere) {
    Show();
    std::string broken = MakeBsp("{}");
    test::PutInt32(broken, 4, 1 << 30);
    tmp.WriteFile("ctf/MAPS/broken.bsp", broken);
    tmp.WriteFile("ID1/maps/e1m3.bsp", MakeBsp("{}"));
    std::filesystem::remove(tmp.Path() / "ctf" / "pak1.pak");

    Show();
    ASSERT_EQ(ui.MessageTexts(), std::vector<QString>{"Read beyond end of file"});
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(browser.lvID1Maps()->topLevelItemCount(), 4);      // refreshed
    EXPECT_EQ(browser.lvBuiltInMaps()->topLevelItemCount(), 3);  // from the first showing
}

TEST_F(MapBrowseTest, TheFilterNarrowsAllListsWhileTypingAndEscapeClearsIt) {
    Show();
    const auto shown = [](const QTreeWidget* list) {
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (!list->topLevelItem(i)->isHidden()) {
                names << list->topLevelItem(i)->text(0);
            }
        }
        return names;
    };
    QLineEdit* filter = browser.edFilter();
    filter->setText("CAP");  // a title, ignoring case
    EXPECT_EQ(shown(browser.lvID1Maps()), QStringList{});
    EXPECT_EQ(shown(browser.lvPatchMaps()), QStringList{"ctf1"});
    EXPECT_EQ(shown(browser.lvBuiltInMaps()), QStringList{});
    filter->setText("e1m");  // a name; also applied to rows that arrive later
    EXPECT_EQ(shown(browser.lvID1Maps()), (QStringList{"e1m1", "e1m2"}));
    Show();
    EXPECT_EQ(shown(browser.lvID1Maps()), (QStringList{"e1m1", "e1m2"}));

    browser.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(filter, &escape);
    EXPECT_EQ(filter->text(), "");
    EXPECT_TRUE(browser.isVisible());  // the first Escape only cleared the filter
    EXPECT_EQ(shown(browser.lvID1Maps()).size(), 3);
    EXPECT_EQ(shown(browser.lvBuiltInMaps()).size(), 3);
    browser.hide();
}

TEST_F(MapBrowseTest, ASecondOpeningTakesTheTitlesFromTheCache) {
    Show();
    EXPECT_EQ(browser.LastCounters().headersRead, 7u);  // three, one and three
    Show();
    EXPECT_EQ(browser.LastCounters().headersRead, 0u);
    EXPECT_EQ(browser.LastCounters().cacheHits, 7u);
    EXPECT_EQ(browser.lvID1Maps()->topLevelItemCount(), 3);
    EXPECT_TRUE(browser.labScanProgress()->text().isEmpty());
}

TEST_F(MapBrowseTest, ClosingDropsWhatTheScanHasNotHandedOverYet) {
    browser.FormShow();
    browser.reject();  // before any event was handled
    EXPECT_FALSE(browser.Scanning());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(browser.lvID1Maps()->topLevelItemCount(), 0);
    Show();  // the next opening fills the lists as usual
    EXPECT_EQ(browser.lvID1Maps()->topLevelItemCount(), 3);
}

TEST_F(MapBrowseTest, ListsTheMapsOfPk3ArchivesWithThoseOfThePaks) {
    if (!maps::Pk3Supported()) {
        GTEST_SKIP() << "PK3 part skipped: this build has no zip library (libzip)";
    }
    tmp.WriteFile("ctf/maps.pk3",
                  test::MakeStoredZip({{"maps/pk3map.bsp", MakeBsp(WorldWithTitle("In a PK3"))},
                                       {"maps/../up.bsp", MakeBsp(WorldWithTitle("Escaping"))}}));
    Show();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(Rows(browser.lvBuiltInMaps()).contains("pk3map|In a PK3"));
}

TEST_F(MapBrowseTest, AMapThatCannotBeReadShowsTheErrorInAnyKindOfArchive) {
    std::string broken = MakeBsp("{}");
    test::PutInt32(broken, 4, 1 << 30);
    tmp.WriteFile("ctf/pak1.pak", MakePak({{"maps/zed.bsp", broken}}));
    Show();
    EXPECT_EQ(ui.MessageTexts(), std::vector<QString>{"Read beyond end of file"});
    if (!maps::Pk3Supported()) {
        GTEST_SKIP() << "PK3 part skipped: this build has no zip library (libzip)";
    }
    std::filesystem::remove(tmp.Path() / "ctf" / "pak1.pak");
    tmp.WriteFile("ctf/maps.pk3", test::MakeStoredZip({{"maps/bad.bsp", broken}}));
    Show();
    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<QString>{"Read beyond end of file", "Read beyond end of file"}));
}

TEST_F(MapBrowseTest, AWindowReopenedOrDestroyedMidScanLeavesItsScansBehind) {
    for (int i = 0; i < 500; ++i) {
        tmp.WriteFile("ID1/maps/m" + std::to_string(i) + ".bsp", MakeBsp("{}", 400));
    }
    context.globals.MinBSPSize = 0;
    auto other = std::make_unique<TMapBrowse>(context);
    other->SetCacheFile("");
    other->FormShow();
    other->FormShow();  // the first scan is told to stop, not waited for
    other->reject();
    other.reset();  // what the scans still hand over goes nowhere
    QCoreApplication::processEvents();
    Show();
    EXPECT_EQ(browser.lvID1Maps()->topLevelItemCount(), 504);
}

TEST_F(MapBrowseTest, ALongListFillsInTurnsSortedAndFiltered) {
    for (int i = 0; i < 4100; ++i) {
        tmp.WriteFile("ctf/MAPS/m" + std::to_string((i * 7919) % 10000) + ".bsp", "x");
    }
    context.globals.MinBSPSize = 0;
    context.globals.DontScanBSPMsgs = true;
    browser.edFilter()->setText("m99");
    Show();
    const QTreeWidget* list = browser.lvPatchMaps();
    ASSERT_EQ(list->topLevelItemCount(), 4101);  // with ctf1
    int shown = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (i > 0) {
            EXPECT_LT(list->topLevelItem(i - 1)->text(0), list->topLevelItem(i)->text(0));
        }
        const bool match = list->topLevelItem(i)->text(0).contains("m99");
        EXPECT_EQ(list->topLevelItem(i)->isHidden(), !match) << i;
        shown += match ? 1 : 0;
    }
    EXPECT_GT(shown, 0);
    EXPECT_FALSE(browser.Scanning());
}

TEST_F(MapBrowseTest, ThePreviewFollowsTheSelectionAndASecondOpeningReadsNoMapForIt) {
    std::string map = test::MakeGeometryBsp(
        "{ \"classname\" \"worldspawn\" }{ \"classname\" \"info_player_start\" }"
        "{ \"classname\" \"monster_dog\" }{ \"classname\" \"trigger_secret\" }"
        "{ \"classname\" \"func_rotate\" }{ \"classname\" \"info_player_deathmatch\" }",
        {{0, 0, 640, 320, 0}, {0, 320, 128, 512, 64}});
    map.resize(20480, '\0');
    tmp.WriteFile("ID1/maps/e1m3.bsp", map);
    for (int opening = 0; opening < 2; ++opening) {
        Show();
        QTreeWidget* list = browser.lvID1Maps();
        list->setCurrentItem(list->findItems("e1m3", Qt::MatchExactly)[0]);
        browser.previewPane()->WaitForAnswers();
        const QLabel* picture = browser.previewPane()->imgPreview();
        ASSERT_FALSE(picture->pixmap().isNull()) << picture->text().toStdString();
        EXPECT_EQ(picture->pixmap().width(), 256);
        EXPECT_EQ(browser.previewPane()->labSummary()->text(),
                  "Monsters 1 \u00b7 Secrets 1 \u00b7 SP DM\nNeeds a mod: func_rotate");
        // The visible rows got their counts.
        EXPECT_EQ(list->findItems("e1m3", Qt::MatchExactly)[0]->text(TMapBrowse::kMonstersColumn),
                  "1");
        if (opening == 1) {
            EXPECT_EQ(browser.previewPane()->Counters().mapsRead, 0u);
            EXPECT_GT(browser.previewPane()->Counters().cacheHits, 0u);
        }
    }
}

TEST_F(MapBrowseTest, DeathmatchOnlyKeepsTheMapsWithDeathmatchStartsAndCountsSort) {
    const std::string dm = "{ \"classname\" \"info_player_deathmatch\" }";
    const std::string army = "{ \"classname\" \"monster_army\" }";
    tmp.WriteFile("ID1/maps/dm1.bsp", MakeBsp(dm + army + army));
    tmp.WriteFile("ctf/pak2.pak", MakePak({{"maps/dm2.bsp", MakeBsp(dm)}}));
    tmp.WriteFile("ID1/maps/many.bsp", MakeBsp(army + army + army));
    Show();
    browser.cbDeathmatchOnly()->setChecked(true);
    browser.previewPane()->WaitForAnswers();
    QCoreApplication::processEvents();
    QStringList shown;
    for (const QTreeWidget* list :
         {browser.lvID1Maps(), browser.lvPatchMaps(), browser.lvBuiltInMaps()}) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (!list->topLevelItem(i)->isHidden()) {
                shown << list->topLevelItem(i)->text(0);
            }
        }
    }
    EXPECT_EQ(shown, (QStringList{"dm1", "dm2"}));
    browser.cbDeathmatchOnly()->setChecked(false);
    EXPECT_EQ(browser.lvID1Maps()->topLevelItem(0)->isHidden(), false);

    // Most monsters first after two clicks on the column.
    QTreeWidget* list = browser.lvID1Maps();
    list->header()->sectionClicked(TMapBrowse::kMonstersColumn);
    list->header()->sectionClicked(TMapBrowse::kMonstersColumn);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "many");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "dm1");
}

TEST_F(MapBrowseTest, TheMapBoxShowsThePictureOfItsMapAsTooltip) {
    std::string map = test::MakeGeometryBsp("{ \"classname\" \"monster_dog\" }",
                                            {{0, 0, 640, 320, 0}}, test::kBsp2);
    map.resize(20480, '\0');
    tmp.WriteFile("ctf/maps/e1m3.bsp", map);
    QComboBox combo;
    combo.setEditable(true);
    combo.setToolTip("usual");
    InstallMapBoxPreview(combo, context, (tmp.Path() / "cache" / "maps.sqlite").string());
    combo.show();
    const auto hover = [&](const QString& text) {
        combo.setEditText(text);
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), combo.mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(&combo, &help);
        const QString tip = QToolTip::text();
        QToolTip::hideText();
        return tip;
    };
    const QString tip = hover("E1M3 - the patch's");
    ASSERT_TRUE(tip.startsWith("<img src=\"data:image/png;base64,")) << tip.left(80).toStdString();
    EXPECT_TRUE(tip.endsWith("Monsters 1 \u00b7 Secrets 0")) << tip.right(80).toStdString();
    QLabel shown(tip);  // the picture is drawn into the tooltip's text
    EXPECT_GE(shown.sizeHint().width(), 256);
    EXPECT_EQ(hover("nothing - no such map"), "usual");
    combo.hide();
}

TEST(MapBoxFilter, NarrowsTheDropDownToEntriesContainingTheTypedText) {
    QComboBox combo;
    combo.setEditable(true);
    combo.addItems({"e1m1 - Slipgate Complex", "e1m2 - Castle of the Damned",
                    "dm3 - Abandoned Base", "e2m1 - the Installation"});
    InstallMapBoxFilter(combo);
    QCompleter* filter = combo.completer();
    ASSERT_NE(filter, nullptr);
    const auto matches = [filter](const QString& typed) {
        filter->setCompletionPrefix(typed);
        QStringList out;
        for (int i = 0; filter->setCurrentRow(i); ++i) {
            out << filter->currentCompletion();
        }
        return out;
    };
    EXPECT_EQ(matches("CASTLE"), QStringList{"e1m2 - Castle of the Damned"});
    EXPECT_EQ(matches("ba"), QStringList{"dm3 - Abandoned Base"});
    EXPECT_EQ(matches("e1m").size(), 2);
    EXPECT_EQ(matches("nothing like it"), QStringList{});
}

}  // namespace
}  // namespace fenmar::ui
