#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "ScriptedUiServices.h"
#include "ui/launch/NetworkSettings.h"
#include "ui/launch/SoundSettings.h"
#include "ui/launch/TroubleSettings.h"
#include "ui/launch/Win95Settings.h"

namespace fenmar {
namespace {

using ui::AppContext;

template <typename T>
T* Child(const QWidget& parent, const char* name) {
    auto* w = parent.findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) {
        throw std::runtime_error(std::string("no control named ") + name);
    }
    return w;
}

void Click(const QWidget& dialog, const char* name) {
    Child<QAbstractButton>(dialog, name)->click();
}

void PressKey(QWidget& dialog, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &press);
}

class OptionDialogs : public ::testing::Test {
protected:
    LaunchProfile& P() { return context.globals.Profile.Record(); }

    // Shows the dialog through UiServices and lets `act` play the user; returns the result.
    int Run(QDialog& dialog, std::function<void(QDialog&)> act) {
        ui.modalActions.push_back(std::move(act));
        return ui.ExecModal(dialog);
    }

    test::ScriptedUiServices ui;
    AppContext context{ui};
};

// --- what all four share --------------------------------------------------------------------

TEST_F(OptionDialogs, ShareCaptionFixedSizeCentringAndTheirButtons) {
    ui::TSoundSettings sound(context);
    ui::TNetworkSettings network(context);
    ui::TWin95Settings memory(context);
    ui::TTroubleSettings trouble(context);
    const std::pair<QDialog*, const char*> dialogs[] = {
        {&sound, "Fenmar - Sound-settings"},
        {&network, "Fenmar - Network-settings"},
        {&memory, "Fenmar - Win95 memory-settings"},
        {&trouble, "Fenmar - Troubleshooting"},
    };
    for (auto [dialog, caption] : dialogs) {
        SCOPED_TRACE(caption);
        EXPECT_EQ(dialog->windowTitle(), caption);
        auto* ok = Child<QPushButton>(*dialog, "buOK");
        EXPECT_EQ(ok->text(), "&OK");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(Child<QPushButton>(*dialog, "buCancel")->text(), "&Cancel");

        EXPECT_EQ(Run(*dialog,
                      [&](QDialog& d) {
                          EXPECT_EQ(d.minimumSize(), d.maximumSize());  // not resizable
                          const QPoint centre = d.screen()->availableGeometry().center();
                          EXPECT_LE((d.frameGeometry().center() - centre).manhattanLength(), 2);
                          PressKey(d, Qt::Key_Return);
                      }),
                  QDialog::Accepted);
        EXPECT_EQ(Run(*dialog, [](QDialog& d) { PressKey(d, Qt::Key_Escape); }), QDialog::Rejected);
        EXPECT_EQ(Run(*dialog, [](QDialog& d) { d.close(); }), QDialog::Rejected);
        EXPECT_EQ(Run(*dialog, [](QDialog& d) { Click(d, "buCancel"); }), QDialog::Rejected);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OptionDialogs, CancelAfterChangingEveryControlLeavesTheProfileAlone) {
    ui::TSoundSettings sound(context);
    ui::TNetworkSettings network(context);
    ui::TWin95Settings memory(context);
    ui::TTroubleSettings trouble(context);
    P().LockMethod = 1;
    LaunchProfile before;
    std::memcpy(&before, &P(), sizeof before);

    Run(sound, [](QDialog& d) {
        Click(d, "cbDisableCD");
        Click(d, "cbForceMediaCheck");
        Child<QComboBox>(d, "comboSampleRate")->setEditText("44100");
        Click(d, "cbNoSound");
        Click(d, "buCancel");
    });
    Run(network, [](QDialog& d) {
        for (const char* box :
             {"cbDisableUDP", "cbDisableIPX", "cbDisableSerial", "cbDisableNet"}) {
            Click(d, box);
        }
        Child<QLineEdit>(d, "edIPXPort")->setText("1");
        Child<QLineEdit>(d, "edUDPPort")->setText("2");
        PressKey(d, Qt::Key_Escape);
    });
    Run(memory, [](QDialog& d) {
        Click(d, "rbLockUnlock");
        Click(d, "rbWinQuake");
        Click(d, "rbHeapSizeOverride");
        Child<QLineEdit>(d, "edAllocMem")->setText("64");
        d.close();
    });
    Run(trouble, [](QDialog& d) {
        Click(d, "cbSafeMode");
        Click(d, "buCancel");
    });
    EXPECT_EQ(std::memcmp(&before, &P(), sizeof before), 0);
}

// --- sound -----------------------------------------------------------------------------------

TEST_F(OptionDialogs, SoundCopiesInAndOutAndNoSoundDisablesTheRest) {
    ui::TSoundSettings sound(context);
    P().SampleRate = 22050;
    P().ForceCDMediaCheck = 1;
    Run(sound, [](QDialog& d) {
        EXPECT_EQ(Child<QComboBox>(d, "comboSampleRate")->currentText(), "22050");
        EXPECT_TRUE(Child<QCheckBox>(d, "cbForceMediaCheck")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(d, "cbDisableCD")->isChecked());
        Click(d, "cbDisableCD");
        Click(d, "cbNoSound");
        for (const char* name :
             {"labSampleRate", "comboSampleRate", "labKHz", "cbDisableCD", "cbForceMediaCheck"}) {
            EXPECT_FALSE(Child<QWidget>(d, name)->isEnabledTo(&d)) << name;
        }
        // The disabled boxes keep their states and are still taken over.
        Child<QComboBox>(d, "comboSampleRate")->setEditText(" 70000 ");
        Click(d, "buOK");
    });
    EXPECT_EQ(P().MuteAll, 1);
    EXPECT_EQ(P().SampleRate, 65535);  // clamped to the field
    EXPECT_EQ(P().DisableCDAudio, 1);
    EXPECT_EQ(P().ForceCDMediaCheck, 1);

    Run(sound, [](QDialog& d) {
        Click(d, "cbNoSound");
        EXPECT_TRUE(Child<QWidget>(d, "comboSampleRate")->isEnabledTo(&d));
        EXPECT_TRUE(Child<QWidget>(d, "cbDisableCD")->isEnabledTo(&d));
        Click(d, "buCancel");
    });
}

TEST_F(OptionDialogs, EnterInTheSampleRateBoxPressesOK) {
    ui::TSoundSettings sound(context);
    EXPECT_EQ(Run(sound,
                  [](QDialog& d) {
                      QLineEdit* typed = Child<QComboBox>(d, "comboSampleRate")->lineEdit();
                      typed->setText("44100");
                      PressKey(*typed, Qt::Key_Return);
                  }),
              QDialog::Accepted);
    EXPECT_EQ(P().SampleRate, 44100);
    EXPECT_EQ(Child<QComboBox>(sound, "comboSampleRate")->count(), 4);  // nothing added
}

TEST_F(OptionDialogs, SoundWithABadSampleRateStaysOpenHavingTakenOverMute) {
    ui::TSoundSettings sound(context);
    bool stillOpen = false;
    const int result = Run(sound, [&](QDialog& d) {
        Click(d, "cbNoSound");
        Click(d, "cbDisableCD");
        Child<QComboBox>(d, "comboSampleRate")->setEditText("11k");
        Click(d, "buOK");
        stillOpen = d.isVisible();
        Click(d, "buCancel");
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(ui.MessageTexts(), std::vector<QString>{"'11k' is not a valid integer value"});
    EXPECT_EQ(P().MuteAll, 1);
    EXPECT_EQ(P().SampleRate, 11025);
    EXPECT_EQ(P().DisableCDAudio, 0);
}

TEST_F(OptionDialogs, MuteIsSharedBetweenTroubleshootingAndSound) {
    ui::TTroubleSettings trouble(context);
    ui::TSoundSettings sound(context);
    Run(trouble, [](QDialog& d) {
        Click(d, "cbDisableSound");
        Click(d, "buOK");
    });
    EXPECT_EQ(P().MuteAll, 1);
    Run(sound, [](QDialog& d) {
        EXPECT_TRUE(Child<QCheckBox>(d, "cbNoSound")->isChecked());
        EXPECT_FALSE(Child<QWidget>(d, "comboSampleRate")->isEnabledTo(&d));
        Click(d, "cbNoSound");
        Click(d, "buOK");
    });
    Run(trouble, [](QDialog& d) {
        EXPECT_FALSE(Child<QCheckBox>(d, "cbDisableSound")->isChecked());
        Click(d, "buCancel");
    });
}

// --- troubleshooting -------------------------------------------------------------------------

TEST_F(OptionDialogs, TroubleshootingSafeModeOnlyWhileAllFiveOptionsAreChecked) {
    ui::TTroubleSettings trouble(context);
    P().SafeMode = 1;
    P().DisableVESA = 0;
    P().NoJoystick = 1;
    Run(trouble, [](QDialog& d) {
        // The options are loaded after safe mode, and their rule clears it again.
        EXPECT_FALSE(Child<QCheckBox>(d, "cbSafeMode")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(d, "cbDisableVESA")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(d, "cbDisableSound")->isChecked());
        EXPECT_TRUE(Child<QCheckBox>(d, "cbDisableJoy")->isChecked());
        Click(d, "buOK");
    });
    EXPECT_EQ(P().SafeMode, 0);
    EXPECT_EQ(P().NoJoystick, 1);

    Run(trouble, [](QDialog& d) {
        Click(d, "cbSafeMode");
        for (const char* name :
             {"cbDisableVESA", "cbDisableSound", "cbDisableNet", "cbDisableCD", "cbDisableJoy"}) {
            EXPECT_TRUE(Child<QCheckBox>(d, name)->isChecked()) << name;
        }
        Click(d, "cbDisableNet");
        EXPECT_FALSE(Child<QCheckBox>(d, "cbSafeMode")->isChecked());
        Click(d, "cbDisableNet");
        EXPECT_TRUE(Child<QCheckBox>(d, "cbSafeMode")->isChecked());
        Click(d, "cbSafeMode");  // unchecking leaves the options as they are
        EXPECT_TRUE(Child<QCheckBox>(d, "cbDisableVESA")->isChecked());
        Click(d, "cbSafeMode");
        Click(d, "buOK");
    });
    for (auto field : {&LaunchProfile::SafeMode, &LaunchProfile::DisableVESA,
                       &LaunchProfile::MuteAll, &LaunchProfile::NoProtocols,
                       &LaunchProfile::DisableCDAudio, &LaunchProfile::NoJoystick}) {
        EXPECT_EQ(P().*field, 1);
    }
}

// --- network ---------------------------------------------------------------------------------

TEST_F(OptionDialogs, NetworkDisablingAllProtocolsGreysTheRest) {
    ui::TNetworkSettings network(context);
    P().DisableIPX = 1;
    P().UDPPort = 27500;
    Run(network, [](QDialog& d) {
        EXPECT_TRUE(Child<QCheckBox>(d, "cbDisableIPX")->isChecked());
        EXPECT_EQ(Child<QLineEdit>(d, "edUDPPort")->text(), "27500");
        auto* port = Child<QLineEdit>(d, "edIPXPort");
        const QPalette& app = QApplication::palette();
        EXPECT_EQ(port->palette().color(QPalette::Base), app.color(QPalette::Base));
        Click(d, "cbDisableNet");
        for (const char* name : {"cbDisableUDP", "cbDisableIPX", "cbDisableSerial", "labIPXPort",
                                 "labUDPPort", "edIPXPort", "edUDPPort"}) {
            EXPECT_FALSE(Child<QWidget>(d, name)->isEnabledTo(&d)) << name;
        }
        EXPECT_EQ(port->palette().color(QPalette::Base), app.color(QPalette::Button));
        EXPECT_TRUE(Child<QCheckBox>(d, "cbDisableIPX")->isChecked());
        Click(d, "cbDisableNet");
        EXPECT_TRUE(port->isEnabledTo(&d));
        EXPECT_EQ(port->palette().color(QPalette::Base), app.color(QPalette::Base));
        Click(d, "buCancel");
    });
}

TEST_F(OptionDialogs, NetworkPortsStepClampAndRefuseNonNumbers) {
    ui::TNetworkSettings network(context);
    Run(network, [](QDialog& d) {
        auto* ipx = Child<QLineEdit>(d, "edIPXPort");
        auto* upDown = Child<ui::TUpDown>(d, "udIPXPort");
        upDown->StepBy(1);
        EXPECT_EQ(ipx->text(), "26010");
        ipx->setText("32765");
        upDown->StepBy(1);
        EXPECT_EQ(ipx->text(), "32767");  // the spinner's range
        ipx->setText("70000");            // typed beyond it
        Child<QLineEdit>(d, "edUDPPort")->setText("-1");
        Click(d, "buOK");
    });
    EXPECT_EQ(P().IPXPort, 65535);
    EXPECT_EQ(P().UDPPort, 0);

    bool stillOpen = false;
    Run(network, [&](QDialog& d) {
        Click(d, "cbDisableSerial");
        Child<QLineEdit>(d, "edIPXPort")->setText("1234");
        Child<QLineEdit>(d, "edUDPPort")->setText("26 000");
        Click(d, "buOK");
        stillOpen = d.isVisible();
        Click(d, "buCancel");
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(ui.MessageTexts(), std::vector<QString>{"'26 000' is not a valid integer value"});
    EXPECT_EQ(ui.messages[0].icon, ui::MessageIcon::Error);
    // Everything before the bad port was taken over, the bad port and after it not.
    EXPECT_EQ(P().DisableSerial, 1);
    EXPECT_EQ(P().IPXPort, 1234);
    EXPECT_EQ(P().UDPPort, 0);
}

// --- memory ----------------------------------------------------------------------------------

TEST_F(OptionDialogs, MemoryRemembersTheLockMethodAcrossAnExecutableSwitch) {
    ui::TWin95Settings memory(context);
    Run(memory, [](QDialog& d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "rbDOSQuake")->isChecked());
        EXPECT_FALSE(Child<QWidget>(d, "rbHeapSizeOverride")->isEnabledTo(&d));
        Click(d, "rbLockUnlock");
        Click(d, "rbWinQuake");
        EXPECT_FALSE(Child<QWidget>(d, "rbLockUnlock")->isEnabledTo(&d));
        EXPECT_TRUE(Child<QWidget>(d, "rbHeapSizeOverride")->isEnabledTo(&d));
        Click(d, "rbDOSQuake");
        EXPECT_TRUE(Child<QRadioButton>(d, "rbLockUnlock")->isChecked());
        Click(d, "buOK");
    });
    EXPECT_EQ(P().LockMethod, 2);

    Run(memory, [](QDialog& d) {
        Click(d, "rbWinQuake");  // heap size: automatic, the default
        Click(d, "buOK");
    });
    EXPECT_EQ(P().LockMethod, 3);

    Run(memory, [](QDialog& d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "rbWinQuake")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "rbHeapSizeAuto")->isChecked());
        EXPECT_FALSE(Child<QWidget>(d, "rbNoLock")->isEnabledTo(&d));
        Click(d, "buOK");
    });
    EXPECT_EQ(P().LockMethod, 3);

    // Activation resets the remembered DOS method: it is not the lock-unlock of before.
    P().LockMethod = 4;
    Run(memory, [](QDialog& d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "rbHeapSizeOverride")->isChecked());
        Click(d, "rbDOSQuake");
        EXPECT_TRUE(Child<QRadioButton>(d, "rbNoLock")->isChecked());
        Click(d, "buOK");
    });
    EXPECT_EQ(P().LockMethod, 0);
}

TEST_F(OptionDialogs, MemoryAmountIsClampedToTheField) {
    ui::TWin95Settings memory(context);
    const auto typeAndOk = [&](const char* text) {
        Run(memory, [text](QDialog& d) {
            Child<QLineEdit>(d, "edAllocMem")->setText(text);
            Click(d, "buOK");
        });
    };
    typeAndOk("300");
    EXPECT_EQ(P().AllocateMem, 255);
    typeAndOk("-5");
    EXPECT_EQ(P().AllocateMem, 0);
    typeAndOk("16");
    EXPECT_EQ(P().AllocateMem, 16);
    typeAndOk("lots");  // not a number: the spinner keeps its last position
    EXPECT_EQ(P().AllocateMem, 16);
    EXPECT_TRUE(ui.messages.empty());
    Run(memory, [](QDialog& d) {
        EXPECT_EQ(Child<QLineEdit>(d, "edAllocMem")->text(), "16");
        EXPECT_EQ(Child<QWidget>(d, "rbLockUnlock")->property("tag").toInt(), 2);
        Click(d, "buCancel");
    });
}

}  // namespace
}  // namespace fenmar
