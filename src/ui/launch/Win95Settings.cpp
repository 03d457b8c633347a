#include "ui/launch/Win95Settings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Numbers.h"
#include "ui/widgets/Controls.h"

namespace fenmar::ui {

namespace {
// LockMethod values below this one are DOS-Quake lock methods, the others WinQuake heap sizes.
constexpr int kFirstHeapSizeMethod = 3;

// A method's radio button carries its LockMethod value in the "tag" property.
int MethodOf(const QRadioButton* radio) {
    return radio->property("tag").toInt();
}
}  // namespace

QRadioButton* TWin95Settings::NewRadio(const char* name, const QString& caption,
                                       const QString& hint, QWidget* parent) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setToolTip(hint);
    return radio;
}

TWin95Settings::TWin95Settings(AppContext& context, QWidget* parent)
    : TOptionDialog(context, QStringLiteral("Fenmar - Win95 memory-settings"), parent) {
    setObjectName(QStringLiteral("Win95Settings"));

    groupExecutable = new QGroupBox(QStringLiteral("Quake executable"), this);
    groupExecutable->setObjectName(QStringLiteral("groupExecutable"));
    rbDOSQuake = NewRadio("rbDOSQuake", QStringLiteral("&DOS-Quake under Win95"),
                          QStringLiteral("Select this, if you use DOS-Quake."), groupExecutable);
    rbWinQuake = NewRadio("rbWinQuake", QStringLiteral("&WinQuake"),
                          QStringLiteral("Select this, if you use WinQuake"), groupExecutable);

    groupDOSMem = new QGroupBox(QStringLiteral("DOS-Quake WinMem"), this);
    groupDOSMem->setObjectName(QStringLiteral("groupDOSMem"));
    rbNoLock = NewRadio("rbNoLock", QStringLiteral("do &not lock Quake in mem"),
                        QStringLiteral("Do nothing."), groupDOSMem);
    rbWinLock = NewRadio("rbWinLock", QStringLiteral("&lock Quake in memory"),
                         QStringLiteral("Locks Quake in memory, so that it won't be paged out by "
                                        "other applications."),
                         groupDOSMem);
    rbLockUnlock = NewRadio("rbLockUnlock", QStringLiteral("lock-&unlock method"),
                            QStringLiteral("Tells Quake to lock its memory when it starts, then "
                                           "immediately unlock it."),
                            groupDOSMem);

    groupHeapSize = new QGroupBox(QStringLiteral("WinQuake Heapsize"), this);
    groupHeapSize->setObjectName(QStringLiteral("groupHeapSize"));
    rbHeapSizeAuto = NewRadio("rbHeapSizeAuto", QStringLiteral("a&utomatic select"),
                              QStringLiteral("The default for WinQuake."), groupHeapSize);
    rbHeapSizeOverride =
        NewRadio("rbHeapSizeOverride", QStringLiteral("o&verride"),
                 QStringLiteral("Lets you specify an amount of MBs to allocate from Windows."),
                 groupHeapSize);

    const QString memHint = QStringLiteral("# of MB to allocate from Windows.");
    labAllocate = new QLabel(QStringLiteral("&allocate"), this);
    labAllocate->setObjectName(QStringLiteral("labAllocate"));
    edAllocMem = new QLineEdit(QStringLiteral("8"), this);
    edAllocMem->setObjectName(QStringLiteral("edAllocMem"));
    edAllocMem->setToolTip(memHint);
    edAllocMem->setMaximumWidth(edAllocMem->fontMetrics().horizontalAdvance("000000") + 12);
    labAllocate->setBuddy(edAllocMem);
    udAllocMem = new UpDown(edAllocMem, 0, 1024, 1, this);
    udAllocMem->setObjectName(QStringLiteral("udAllocMem"));
    labAllocMB = new QLabel(QStringLiteral("MB of memory (default = 8)"), this);
    labAllocMB->setObjectName(QStringLiteral("labAllocMB"));

    // Each method's radio button carries its LockMethod value.
    int tag = 0;
    for (QRadioButton* r :
         {rbNoLock, rbWinLock, rbLockUnlock, rbHeapSizeAuto, rbHeapSizeOverride}) {
        r->setProperty("tag", tag++);
    }
    rbDOSQuake->setChecked(true);
    rbNoLock->setChecked(true);
    rbHeapSizeAuto->setChecked(true);
    rbHeapSizeAuto->setEnabled(false);
    rbHeapSizeOverride->setEnabled(false);

    auto* executable = new QVBoxLayout(groupExecutable);
    executable->addWidget(rbDOSQuake);
    executable->addWidget(rbWinQuake);
    auto* dosMem = new QVBoxLayout(groupDOSMem);
    for (QRadioButton* r : {rbNoLock, rbWinLock, rbLockUnlock}) {
        dosMem->addWidget(r);
    }
    auto* heap = new QVBoxLayout(groupHeapSize);
    heap->addWidget(rbHeapSizeAuto);
    heap->addWidget(rbHeapSizeOverride);
    heap->addStretch(1);
    auto* methods = new QHBoxLayout;
    methods->addWidget(groupDOSMem);
    methods->addWidget(groupHeapSize);
    auto* memRow = new QHBoxLayout;
    memRow->addWidget(labAllocate);
    memRow->addWidget(edAllocMem);
    memRow->addWidget(udAllocMem);
    memRow->addWidget(labAllocMB);
    memRow->addStretch(1);
    Body()->addWidget(groupExecutable);
    Body()->addLayout(methods);
    Body()->addLayout(memRow);

    for (QRadioButton* r : {rbNoLock, rbWinLock, rbLockUnlock}) {
        connect(r, &QRadioButton::toggled, this, [this, r](bool on) {
            if (on) {
                rbDOSLockMethodClick(r);
            }
        });
    }
    for (QRadioButton* r : {rbHeapSizeAuto, rbHeapSizeOverride}) {
        connect(r, &QRadioButton::toggled, this, [this, r](bool on) {
            if (on) {
                rbHeapSizeMethodClick(r);
            }
        });
    }
    connect(rbDOSQuake, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            rbDOSQuakeClick();
        }
    });
    connect(rbWinQuake, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            rbWinQuakeClick();
        }
    });
    connect(edAllocMem, &QLineEdit::textChanged, this, &TWin95Settings::edAllocMemChange);
    FinishLayout();
}

void TWin95Settings::FormActivate() {
    const LaunchProfile& p = Profile();
    edAllocMem->setText(QString::number(p.AllocateMem));
    edAllocMemChange();  // also when the text was already the same
    const int method = p.LockMethod;
    for (QRadioButton* r :
         {rbNoLock, rbWinLock, rbLockUnlock, rbHeapSizeAuto, rbHeapSizeOverride}) {
        if (MethodOf(r) == method) {
            r->setChecked(true);
        }
    }
    if (method < kFirstHeapSizeMethod) {
        rbHeapSizeAuto->setChecked(true);
        rbDOSQuake->setChecked(true);
    } else {
        rbNoLock->setChecked(true);
        rbWinQuake->setChecked(true);
    }
    selectedMethod_ = method;
    lastDOSLockMethod_ = method < kFirstHeapSizeMethod ? method : 0;
    lastHeapSizeMethod_ = method == 3 || method == 4 ? method : kFirstHeapSizeMethod;
}

void TWin95Settings::rbDOSLockMethodClick(QRadioButton* sender) {
    selectedMethod_ = lastDOSLockMethod_ = MethodOf(sender);
}

void TWin95Settings::rbHeapSizeMethodClick(QRadioButton* sender) {
    selectedMethod_ = lastHeapSizeMethod_ = MethodOf(sender);
}

void TWin95Settings::rbDOSQuakeClick() {
    selectedMethod_ = lastDOSLockMethod_;
    EnableMethodsOf(true);
}

void TWin95Settings::rbWinQuakeClick() {
    selectedMethod_ = lastHeapSizeMethod_;
    EnableMethodsOf(false);
}

void TWin95Settings::EnableMethodsOf(bool dosQuake) {
    EnableAll({rbNoLock, rbWinLock, rbLockUnlock}, dosQuake);
    EnableAll({rbHeapSizeAuto, rbHeapSizeOverride}, !dosQuake);
}

void TWin95Settings::edAllocMemChange() {
    allocMem_ = udAllocMem->Position();
}

bool TWin95Settings::FormClose() {
    LaunchProfile& p = Profile();
    // The spinner reaches 1024, the field holds 0..255.
    p.AllocateMem = ClampToUInt8(allocMem_);
    p.LockMethod = static_cast<std::uint8_t>(selectedMethod_);
    return true;
}

}  // namespace fenmar::ui
