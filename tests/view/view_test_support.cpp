#include "view_test_support.hpp"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include <QEvent>
#include <QPixmap>
#include <QTest>
#include <QVBoxLayout>
#include <QtMath>

#include "captions/view.hpp"

namespace viewtest {

RecordingModel::RecordingModel()
{
    model.setCommandSender([this](const LiveTranslationHelperCommand &command) {
        commands.push_back(command);
        events.emplace_back(wireName(command.kind));
    });
    model.setPanelHider([this] { events.emplace_back("<hide panel>"); });
}

std::vector<std::string> RecordingModel::sent() const
{
    std::vector<std::string> result;
    for (const auto &command : commands) {
        std::string line = wireName(command.kind);
        if (command.carriesString())
            line += ":" + command.stringValue;
        result.push_back(line);
    }
    return result;
}

LiveTranslationHelperSnapshot withLanguages(int count, std::string source, std::string target)
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.generation = 1;
    snapshot.sourceLanguage = std::move(source);
    snapshot.targetLanguage = std::move(target);
    for (int i = 0; i < count; ++i) {
        const std::string number = QString::number(i).rightJustified(4, '0').toStdString();
        snapshot.sourceLanguages.push_back({"l" + std::to_string(i), "Language " + number});
        snapshot.targetLanguages.push_back({"l" + std::to_string(i), "Language " + number});
    }
    return snapshot;
}

QWidget *findNamed(const QWidget *root, const QString &objectName)
{
    for (QWidget *widget : root->findChildren<QWidget *>(objectName)) {
        if (!widget->isHidden())
            return widget;
    }
    return nullptr;
}

std::vector<QWidget *> visibleNamed(const QWidget *root, const QString &prefix)
{
    std::vector<QWidget *> result;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        if (widget->objectName().startsWith(prefix) && widget->isVisible())
            result.push_back(widget);
    }
    std::sort(result.begin(), result.end(), [](QWidget *a, QWidget *b) {
        return a->mapToGlobal(QPoint(0, 0)).y() < b->mapToGlobal(QPoint(0, 0)).y();
    });
    return result;
}

bool waitUntilActive(QWidget *window)
{
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

void click(QWidget *widget)
{
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, key, modifiers);
}

LiveTranslationHelperCommittedCard card(
    const std::string &id, const std::string &translation, const std::string &source)
{
    return {.id = id, .sourceText = source, .translatedText = translation, .committedAt = 7e8};
}

LiveTranslationHelperSnapshot withCards(int count, int firstId)
{
    LiveTranslationHelperSnapshot snapshot;
    for (int i = firstId; i < firstId + count; ++i) {
        const std::string n = std::to_string(i);
        snapshot.committedCards.push_back(card("card-" + n,
            "Translated sentence number " + n + " reads like this", "Originalsatz Nummer " + n));
    }
    return snapshot;
}

ShownColumn::ShownColumn(int height)
    : window(std::make_unique<QWidget>())
{
    auto *layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    view = new LiveTranslationCaptionsView(window.get());
    layout->addWidget(view);
    window->resize(520, height);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
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

} // namespace viewtest
