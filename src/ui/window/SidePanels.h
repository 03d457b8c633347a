#pragma once
// The right-hand column of the main window: the active plug-in's panel and the tall logo.

#include <QFrame>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

// Shows the active plug-in's icon; a click anywhere on it (label, icon or panel) is reported.
class PlugInPanel : public QFrame {
    Q_OBJECT
public:
    explicit PlugInPanel(QWidget* parent = nullptr);

    ClickableLabel* Label6;
    ClickableLabel* imActivePlugIn;  // 32 x 32

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Space, Return and Enter on the focused icon run the plug-in like a click.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The tall logo; clicking it opens the about box.
class LogoColumn : public QFrame {
    Q_OBJECT
public:
    explicit LogoColumn(QWidget* parent = nullptr);

    ClickableLabel* imgQuakePanel;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Repaint();
};

}  // namespace fenmar::ui
