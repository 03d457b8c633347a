#include "ui/maps/MapBrowseStretch.h"

#include <QWidget>
#include <algorithm>

namespace fenmar::ui {

void MapBrowseStretch::Record(const QWidget& window, int columnWidth, int rowTop) {
    design_.clear();
    columnWidth_ = std::max(1, columnWidth);
    rowTop_ = rowTop;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow()) {
            design_.insert(child, child->geometry());
        }
    }
}

void MapBrowseStretch::Apply(QSize extra) const {
    const int dx = std::max(0, extra.width());
    const int dy = std::max(0, extra.height());
    const int share = dx / 3;
    for (auto it = design_.cbegin(); it != design_.cend(); ++it) {
        QRect r = it.value();
        if (r.left() >= 3 * columnWidth_) {
            // Right of the lists (the map's picture and its filter): keeps to the right edge,
            // the picture growing with the lists.
            r.moveLeft(r.left() + dx);
            if (r.top() < rowTop_ && r.height() > 30) {
                r.setHeight(r.height() + dy);
            } else if (r.top() >= rowTop_) {
                r.moveTop(r.top() + dy);
            }
        } else if (r.top() < rowTop_) {
            // A column's heading, list or notice: the columns share the extra width.
            const int column = std::clamp(r.left() / columnWidth_, 0, 2);
            r.moveLeft(r.left() + column * share);
            r.setWidth(r.width() + (column == 2 ? dx - 2 * share : share));
            if (r.height() > 30) {
                r.setHeight(r.height() + dy);
            }
        } else {
            r.moveTop(r.top() + dy);
            const QString name = it.key()->objectName();
            if (name == QLatin1String("buOK") || name == QLatin1String("buCancel")) {
                r.moveLeft(r.left() + dx);
            } else if (name == QLatin1String("edMap") || name == QLatin1String("labScanProgress") ||
                       name == QLatin1String("labHiddenMaps")) {
                r.setWidth(r.width() + dx);
            }
        }
        it.key()->setGeometry(r);
    }
}

}  // namespace fenmar::ui
