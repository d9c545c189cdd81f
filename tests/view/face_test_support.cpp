#include "face_test_support.hpp"

#include <QEvent>
#include <QPixmap>
#include <QtMath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace facetest {

namespace {

// The application lives from before the first test to after the last, and is gone before
// static destruction begins.
class ApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "face_test";
        static char *argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment *const kEnvironment
    = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

QApplication &app()
{
    return *qApp;
}

QImage grab(QWidget *widget)
{
    const QPixmap pixmap = widget->grab();
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(pixmap.devicePixelRatio());
    return image;
}

QColor pixelAt(const QImage &image, QPointF logical)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qFloor(logical.x() * ratio), qFloor(logical.y() * ratio));
}

int distance(const QColor &a, const QColor &b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
        std::abs(a.blue() - b.blue())});
}

int closestDistance(const QImage &image, const QRectF &logical, const QColor &colour)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect device = QRectF(logical.topLeft() * ratio, logical.size() * ratio)
                             .toAlignedRect()
                             .intersected(image.rect());
    int best = 256;
    for (int y = device.top(); y <= device.bottom(); ++y) {
        for (int x = device.left(); x <= device.right(); ++x)
            best = std::min(best, distance(image.pixelColor(x, y), colour));
    }
    return best;
}

QColor over(const QColor &top, qreal opacity, const QColor &bottom)
{
    const auto mix = [opacity](int t, int b) { return qRound(t * opacity + b * (1 - opacity)); };
    return {mix(top.red(), bottom.red()), mix(top.green(), bottom.green()),
        mix(top.blue(), bottom.blue())};
}

QRect rectIn(const QWidget *widget, const QWidget *ancestor)
{
    return {widget->mapTo(ancestor, QPoint(0, 0)), widget->size()};
}

RecordingModel::RecordingModel()
{
    model.setCommandSender(
        [this](const LiveTranslationHelperCommand &c) { events.emplace_back(wireName(c.kind)); });
    model.setPanelHider([this] { events.emplace_back("<hide panel>"); });
}

PaintCounter::PaintCounter(QWidget *root)
{
    root->installEventFilter(this);
    for (QWidget *child : root->findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject * /*watched*/, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++m_count;
    return false;
}

} // namespace facetest
