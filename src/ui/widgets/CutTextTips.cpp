#include "ui/widgets/CutTextTips.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>

namespace fenmar::ui {

namespace {

class CutTextTips : public QObject {
public:
    explicit CutTextTips(QAbstractItemView& view) : QObject(&view), view_(view) {
        view.viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || watched != view_.viewport()) {
            return false;
        }
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = view_.indexAt(help->pos());
        if (!index.isValid() || index.data(Qt::ToolTipRole).isValid()) {
            return false;  // a tip of its own: the view shows it
        }
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect cell = view_.visualRect(index);
        const int needed = view_.sizeHintForIndex(index).width();
        if (text.isEmpty() || needed <= cell.width()) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        QToolTip::showText(help->globalPos(), text, view_.viewport(), cell);
        return true;
    }

private:
    QAbstractItemView& view_;
};

}  // namespace

void ShowCutTextsAsTips(QAbstractItemView& view) {
    new CutTextTips(view);
}

}  // namespace fenmar::ui
