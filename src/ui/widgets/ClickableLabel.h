#pragma once
// A picture or text that reports clicks (the logo column, the active plug-in's icon).

#include <QLabel>
#include <QMouseEvent>

namespace fenmar::ui {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        QLabel::mouseReleaseEvent(event);
    }
};

}  // namespace fenmar::ui
