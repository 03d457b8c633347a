#pragma once
// The map browser is laid out at its design size; larger, its three columns share the extra
// width and their lists the extra height, the rows below the lists keep to the bottom,
// their edits growing and the buttons keeping to the right edge, and what stands right of
// the lists keeps to the right edge.

#include <QHash>
#include <QRect>
#include <QSize>

class QWidget;

namespace fenmar::ui {

class MapBrowseStretch {
public:
    // Remembers where the window's children are at the design size.
    void Record(const QWidget& window, int columnWidth, int rowTop);
    // Places the children for `extra` pixels beyond the design size.
    void Apply(QSize extra) const;

private:
    QHash<QWidget*, QRect> design_;
    int columnWidth_ = 1;
    int rowTop_ = 0;
};

}  // namespace fenmar::ui
