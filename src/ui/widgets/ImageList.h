#pragma once
// A numbered list of equally sized pictures (plug-in icons, the frames of the rotating logo).
// It is a named child of its window, so it can be found like any control.

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSize>

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
        return Count() - 1;
    }
    QPixmap At(int index) const {
        return index >= 0 && index < Count() ? images_.at(index) : QPixmap();
    }
    void Clear() { images_.clear(); }

private:
    QSize size_;
    QList<QPixmap> images_;
};

}  // namespace fenmar::ui
