#include "ui/widgets/CutTextTips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <type_traits>

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

// The room an edit has for its text.
int TextRoom(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.contentsRect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    constexpr int kSideMargins = 2 * 2;  // the edit's own margin on either side of the text
    return contents.marginsRemoved(edit.textMargins()).width() - kSideMargins;
}

int TextRoom(const QComboBox& combo) {
    if (const QLineEdit* edit = combo.lineEdit()) {
        return TextRoom(*edit);
    }
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = false;
    option.currentText = combo.currentText();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    const int icon =
        combo.itemIcon(combo.currentIndex()).isNull() ? 0 : combo.iconSize().width() + 4;
    return field.width() - icon - 4;
}

template <typename Widget>
class CutLineTip : public QObject {
public:
    explicit CutLineTip(Widget& widget) : QObject(&widget), widget_(widget) {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || watched != &widget_) {
            return false;
        }
        const QString text = Text();
        if (text.isEmpty() || widget_.fontMetrics().horizontalAdvance(text) <= TextRoom(widget_)) {
            return false;  // it fits: the widget's own tip, if any
        }
        const QString own = widget_.toolTip();
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), own.isEmpty() ? text : text + "\n\n" + own, &widget_);
        return true;
    }

private:
    QString Text() const {
        if constexpr (std::is_same_v<Widget, QComboBox>) {
            return widget_.currentText();
        } else {
            return widget_.text();
        }
    }

    Widget& widget_;
};

}  // namespace

void ShowCutTextsAsTips(QAbstractItemView& view) {
    new CutTextTips(view);
}

void ShowCutTextAsTip(QComboBox& combo) {
    new CutLineTip<QComboBox>(combo);
}

void ShowCutTextAsTip(QLineEdit& edit) {
    new CutLineTip<QLineEdit>(edit);
}

}  // namespace fenmar::ui
