#include "ui/widgets/WindowSize.h"

#include <QScreen>
#include <QWidget>

#include "store/RegistryHandling.h"
#include "store/Store.h"

namespace fenmar::ui {

std::string WindowSizeKeyPath(const std::string& name) {
    return std::string(store::kFenmarRoot) + "\\Windows\\" + name;
}

void RestoreWindowSize(store::Store& store, const std::string& name, QWidget& window) {
    const std::string key = WindowSizeKeyPath(name);
    if (!store.KeyExists(key)) {
        return;
    }
    const int width = store::RegReadInteger(store, key, "Width");
    const int height = store::RegReadInteger(store, key, "Height");
    if (width <= 0 || height <= 0) {
        return;
    }
    QSize size = QSize(width, height).expandedTo(window.minimumSize());
    if (const QScreen* screen = window.screen()) {
        size = size.boundedTo(screen->availableGeometry().size()).expandedTo(window.minimumSize());
    }
    window.resize(size);
}

void SaveWindowSize(store::Store& store, const std::string& name, const QWidget& window) {
    const std::string key = WindowSizeKeyPath(name);
    if (store.CreateKey(key) != store::Status::Ok) {
        return;
    }
    // A maximised window keeps the size it had before.
    const QSize size = window.isMaximized() ? window.normalGeometry().size() : window.size();
    store::RegWriteInteger(store, key, "Width", size.width());
    store::RegWriteInteger(store, key, "Height", size.height());
}

}  // namespace fenmar::ui
