#pragma once
// Small helpers that build the program's controls the same way everywhere: object name,
// caption, tooltip and the "tag" property that carries a control's data value.

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QString>
#include <initializer_list>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

namespace fenmar::ui {

// Name of the dynamic property holding a control's tag (radio value, history size, bit...).
inline constexpr char kTagProperty[] = "tag";

void SetTag(QWidget* widget, int tag);
int TagOf(const QObject* object);  // -1 when the control has no tag

template <typename T>
T* Named(T* widget, const QString& name, const QString& tip = QString()) {
    widget->setObjectName(name);
    if (!tip.isEmpty()) {
        widget->setToolTip(tip);
    }
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tip = QString());
// A caption-less button showing a folder: the pickers.
QToolButton* MakeBrowseButton(QWidget* parent, const QString& name, const QString& tip = QString());
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     const QString& tip = QString());
QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption, int tag,
                        const QString& tip = QString());
QLineEdit* MakeEdit(QWidget* parent, const QString& name, const QString& text,
                    const QString& tip = QString());
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption,
                  QWidget* buddy = nullptr);
// A group box whose caption is bold italic and larger, while its contents keep the normal
// font (the group boxes of the General and Multiplayer pages).
QGroupBox* MakeTitledGroup(QWidget* parent, const QString& name, const QString& caption);
QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption);
// Gives every widget inside `group` the normal font again.
void UseNormalFontInside(QGroupBox* group);

// Moves a window to the middle of the screen it is on (if any).
void CentreOnScreen(QWidget& window);

// Enables (or shows) every control of a list alike.
void EnableAll(std::initializer_list<QWidget*> controls, bool enabled);
void ShowAll(std::initializer_list<QWidget*> controls, bool visible);

// A label that lies under a group box and shows only while the group is hidden (see
// StackOver): it is never hidden itself, but draws nothing while its cover is visible.
class StandInLabel : public QLabel {
public:
    using QLabel::QLabel;
    void SetCover(QWidget* cover) { cover_ = cover; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* cover_ = nullptr;
};

StandInLabel* MakeStandInLabel(QWidget* parent, const QString& name, const QString& caption);

// A holder in which `over` lies on top of `under`, both filling the same area.
QWidget* StackOver(QWidget* parent, StandInLabel* under, QWidget* over);
// The same with a new stand-in label `name` showing `caption`, kept in `label`: the holder of
// a group that a plug-in may take over.
QWidget* StackOverStandIn(QWidget* parent, QWidget* over, QLabel*& label, const QString& name,
                          const QString& caption);

QFont BoldItalic(QFont font, double scale = 1.0);

// A drop-down list that keeps its entries sorted alphabetically, ignoring case.
class SortedComboBox : public QComboBox {
public:
    explicit SortedComboBox(QWidget* parent = nullptr);
    // Inserts `text` at its place in the order and returns its index.
    int AddSorted(const QString& text);
};

}  // namespace fenmar::ui
