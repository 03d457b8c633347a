#pragma once
// The "Plug-Ins" page: the list of plug-ins found, the plug-in directory, the view-style
// buttons and the refresh button. Controls public, named as their objectName.

#include <QLabel>
#include <QWidget>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

// A one-line label for a path: when the path does not fit, its middle is left out on the
// screen and the tool tip (its hint) gains the whole path. text() stays the whole path.
class PathLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void SetPath(const QString& path);
    QString ShownText() const;  // what is drawn at the current width

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateTip();
    QString hint_;
    bool hintKept_ = false;
};

class PlugInsPage : public QWidget {
    Q_OBJECT
public:
    explicit PlugInsPage(QWidget* parent = nullptr);

    ListView* lvPlugIns;
    QFrame* Panel2;
    PathLabel* labPlugInDir;
    QToolButton* buIcons;
    QToolButton* buSmlIcons;
    QToolButton* buList;
    QToolButton* buDetails;
    QButtonGroup* viewStyleButtons;  // the four view buttons; ids are their tags
    QPushButton* buRefreshPlugIns;

protected:
    void changeEvent(QEvent* event) override;

private:
    void PaintViewStyleIcons();
};

}  // namespace fenmar::ui
