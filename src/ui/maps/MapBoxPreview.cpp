#include "ui/maps/MapBoxPreview.h"

#include <QBuffer>
#include <QComboBox>
#include <QHelpEvent>
#include <QToolTip>

#include "maps/MapDetailService.h"
#include "preview/MapPicture.h"
#include "ui/maps/MapPreviewPane.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/AppContext.h"

namespace fenmar::ui {

namespace {

class MapBoxTip : public QObject {
public:
    MapBoxTip(QComboBox& combo, AppContext& context, std::string cacheFile)
        : QObject(&combo), combo_(combo), context_(context), cacheFile_(std::move(cacheFile)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || watched != &combo_) {
            return false;
        }
        const QString tip = Tip();
        if (tip.isEmpty()) {
            return false;
        }
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, &combo_);
        return true;
    }

private:
    // The picture as an image inside the tooltip's text, the summary under it; "" for none.
    QString Tip() const {
        const QString name = combo_.currentText().section(' ', 0, 0).toLower();
        const Globals& globals = context_.globals;
        const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
        if (name.isEmpty() || name == "<none>" || quakePath.empty()) {
            return {};
        }
        std::string patch = globals.Profile.Text(TextField::GamePatch);
        const auto cache =
            maps::MapDetailCache::Open(cacheFile_.empty() ? maps::DefaultCacheFile() : cacheFile_);
        maps::ScanOptions options;
        options.minBSPSize = 0;
        maps::MapDetailService service({quakePath, patch, options}, cache.get());
        const auto details = service.GetAnywhere(ToLocal(name), true);
        if (!details || !details->preview || details->preview->Empty()) {
            return {};
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        preview::MapPicture(*details->preview).save(&buffer, "PNG");
        const QString summary =
            MapPreviewPane::SummaryText(details->summary,
                                        maps::PlayOfSkill(globals.Profile->SkillLevel))
                .toHtmlEscaped()
                .replace('\n', "<br>");
        return QString("<img src=\"data:image/png;base64,%1\"><br>%2")
            .arg(QString::fromLatin1(png.toBase64()), summary);
    }

    QComboBox& combo_;
    AppContext& context_;
    std::string cacheFile_;
};

}  // namespace

void InstallMapBoxPreview(QComboBox& combo, AppContext& context, std::string cacheFile) {
    combo.installEventFilter(new MapBoxTip(combo, context, std::move(cacheFile)));
}

}  // namespace fenmar::ui
