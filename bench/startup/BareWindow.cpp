// The yardstick of the start-up benchmark: a bare window with as many widgets as the main
// window (150 in six tabs). Like fenmar under FENMAR_QUIT_WHEN_SHOWN, it prints "shown" once
// its window has been painted and quits.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace {

constexpr int kTabs = 6;
constexpr int kWidgetsPerTab = 25;

QWidget* MakeWidget(int index, QWidget* parent) {
    const QString text = QStringLiteral("Item %1").arg(index);
    switch (index % 5) {
        case 0:
            return new QLabel(text, parent);
        case 1:
            return new QLineEdit(text, parent);
        case 2:
            return new QCheckBox(text, parent);
        case 3: {
            auto* combo = new QComboBox(parent);
            combo->addItems({text, text + QStringLiteral("b")});
            return combo;
        }
        default:
            return new QPushButton(text, parent);
    }
}

class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    auto* column = new QVBoxLayout(&window);
    auto* tabs = new QTabWidget(&window);
    column->addWidget(tabs);
    for (int tab = 0; tab < kTabs; ++tab) {
        auto* page = new QWidget(tabs);
        auto* grid = new QGridLayout(page);
        for (int i = 0; i < kWidgetsPerTab; ++i) {
            grid->addWidget(MakeWidget(tab * kWidgetsPerTab + i, page), i % 9, i / 9);
        }
        tabs->addTab(page, QStringLiteral("Tab %1").arg(tab + 1));
    }
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.resize(569, 461);
    window.show();
    return QApplication::exec();
}
