#pragma once
// A numbered list of equally sized pictures (plug-in icons, the frames of the rotating logo).
// It is a named child of its window, so it can be found like any control.

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <functional>

namespace fenmar::ui {

class ImageList : public QObject {
    Q_OBJECT
public:
    ImageList(QObject* parent, const QString& name, QSize size) : QObject(parent), size_(size) {
        setObjectName(name);
    }

    QSize ImageSize() const { return size_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // Adds a picture and returns its index.
    int Add(const QPixmap& image) {
        images_.append(image);
        drawers_.append(nullptr);
        return Count() - 1;
    }
    // Adds a picture drawn when it is first asked for (start-up need not wait for it).
    int AddDrawn(std::function<QPixmap()> draw) {
        images_.append(QPixmap());
        drawers_.append(std::move(draw));
        return Count() - 1;
    }
    QPixmap At(int index) const {
        if (index < 0 || index >= Count()) {
            return {};
        }
        if (drawers_[index]) {
            images_[index] = drawers_[index]();
            drawers_[index] = nullptr;
        }
        return images_.at(index);
    }
    void Clear() {
        images_.clear();
        drawers_.clear();
    }

private:
    QSize size_;
    mutable QList<QPixmap> images_;
    mutable QList<std::function<QPixmap()>> drawers_;
};

}  // namespace fenmar::ui
