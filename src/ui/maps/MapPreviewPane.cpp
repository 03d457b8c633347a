#include "ui/maps/MapPreviewPane.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "preview/MapPicture.h"
#include "ui/widgets/LocalText.h"

namespace fenmar::ui {

MapPreviewPane::MapPreviewPane(QWidget* parent) : QWidget(parent) {
    setObjectName("MapPreviewPane");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    picture_ = new QLabel(this);
    picture_->setObjectName("imgMapPreview");
    picture_->setFixedSize(maps::kPreviewShownSide + 4, maps::kPreviewShownSide + 4);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    picture_->setWordWrap(true);
    summary_ = new QLabel(this);
    summary_->setObjectName("labMapSummary");
    summary_->setWordWrap(true);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(picture_);
    layout->addWidget(summary_, 1);
}

MapPreviewPane::~MapPreviewPane() {
    worker_.reset();  // no answer arrives after this
}

QString MapPreviewPane::Key(maps::BrowserList list, const QString& name) {
    return QString::number(static_cast<int>(list)) + QChar('/') + name;
}

void MapPreviewPane::Start(const maps::BrowserRequest& request, const std::string& cacheFile,
                           int skill) {
    worker_.reset();
    const unsigned generation = ++generation_;
    pending_ = 0;
    known_.clear();
    shown_.clear();
    play_ = maps::PlayOfSkill(skill);
    picture_->clear();
    summary_->clear();
    worker_ = std::make_unique<maps::MapDetailWorker>(
        request, cacheFile,
        [this, generation](const maps::MapDetailWorker::Request& asked,
                           std::optional<maps::MapDetails> details) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, asked, details = std::move(details)]() mutable {
                    Answered(generation, asked, std::move(details));
                },
                Qt::QueuedConnection);
        });
}

void MapPreviewPane::ShowMap(maps::BrowserList list, const QString& name) {
    shown_ = name.isEmpty() ? QString() : Key(list, name);
    if (shown_.isEmpty() || !worker_) {
        picture_->clear();
        summary_->clear();
        return;
    }
    Known& known = known_[shown_];
    if (!known.preview && !known.previewAsked && !known.failed) {
        known.previewAsked = known.asked = true;
        ++pending_;
        worker_->Ask({list, name.toLocal8Bit().toStdString(), true}, true);
    }
    ShowKnown();
}

void MapPreviewPane::AskSummary(maps::BrowserList list, const QString& name) {
    Known& known = known_[Key(list, name)];
    if (known.asked || known.summary || known.failed || !worker_) {
        return;
    }
    known.asked = true;
    ++pending_;
    worker_->Ask({list, name.toLocal8Bit().toStdString(), false}, false);
}

const maps::EntitySummary* MapPreviewPane::KnownSummary(maps::BrowserList list,
                                                        const QString& name) const {
    const auto it = known_.constFind(Key(list, name));
    return it != known_.constEnd() && it->summary ? &*it->summary : nullptr;
}

void MapPreviewPane::Answered(unsigned generation, const maps::MapDetailWorker::Request& request,
                              std::optional<maps::MapDetails> details) {
    if (generation != generation_) {
        return;
    }
    --pending_;
    const QString name = FromLocal(request.name);
    Known& known = known_[Key(request.list, name)];
    if (!details) {
        known.failed = true;
    } else {
        known.summary = std::move(details->summary);
        if (details->preview) {
            known.preview = std::move(details->preview);
        }
    }
    emit summaryKnown(request.list, name);
    if (Key(request.list, name) == shown_) {
        ShowKnown();
    }
}

void MapPreviewPane::ShowKnown() {
    const auto it = known_.constFind(shown_);
    if (it == known_.constEnd()) {
        return;
    }
    if (it->failed) {
        picture_->setText("This map cannot be read.");
        summary_->clear();
        return;
    }
    if (!it->preview) {
        picture_->setText("Drawing...");
    } else if (it->preview->Empty()) {
        picture_->setText("No floors to draw.");
    } else {
        const qreal ratio = devicePixelRatioF();
        QPixmap pixmap = QPixmap::fromImage(preview::MapPicture(
            *it->preview, static_cast<int>(maps::kPreviewShownSide * ratio + 0.5)));
        pixmap.setDevicePixelRatio(ratio);
        picture_->setPixmap(pixmap);
    }
    summary_->setText(it->summary ? SummaryText(*it->summary, play_) : QString());
}

QString MapPreviewPane::SummaryText(const maps::EntitySummary& summary, maps::Play play) {
    QString text = QString("Monsters %1 \u00b7 Secrets %2")
                       .arg(summary.Monsters(play))
                       .arg(summary.Secrets(play));
    const std::string modes = summary.Modes();
    if (!modes.empty()) {
        text += QString(" \u00b7 ") + QString::fromStdString(modes);
    }
    if (!summary.unknownClasses.empty()) {
        QStringList names;
        for (const std::string& c : summary.unknownClasses) {
            if (names.size() == 4) {
                names << "...";
                break;
            }
            names << FromLocal(c);
        }
        text += "\nNeeds a mod: " + names.join(", ");
    }
    return text;
}

void MapPreviewPane::WaitForAnswers() {
    while (pending_ > 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

maps::DetailCounters MapPreviewPane::Counters() const {
    return worker_ ? worker_->Counters() : maps::DetailCounters{};
}

}  // namespace fenmar::ui
