#pragma once

// What the view's widget tests share; they run on the test desktop (test_desktop.hpp).

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QVBoxLayout>
#include <QtMath>

#include "captions/view.hpp"
#include "model.hpp"
#include "test_desktop.hpp"

namespace viewtest {

struct RecordingModel {
    LiveTranslationHelperModel model;
    std::vector<LiveTranslationHelperCommand> commands;
    std::vector<std::string> events; // wire names, and "<hide panel>"

    RecordingModel()
    {
        model.setCommandSender([this](const LiveTranslationHelperCommand &command) {
            commands.push_back(command);
            events.emplace_back(wireName(command.kind));
        });
        model.setPanelHider([this] { events.emplace_back("<hide panel>"); });
    }
    std::vector<std::string> sent() const
    {
        std::vector<std::string> result;
        for (const auto &command : commands)
            result.push_back(std::string(wireName(command.kind))
                + (command.carriesString() ? ":" + command.stringValue : ""));
        return result;
    }
};

// n languages "Language 0000" .. with ids "l0" .., in both lists.
inline LiveTranslationHelperSnapshot withLanguages(
    int count, std::string source = "l1", std::string target = "l2")
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.sourceLanguage = std::move(source);
    snapshot.targetLanguage = std::move(target);
    for (int i = 0; i < count; ++i) {
        const std::string name
            = QStringLiteral("Language %1").arg(i, 4, 10, QLatin1Char('0')).toStdString();
        snapshot.sourceLanguages.push_back({"l" + std::to_string(i), name});
        snapshot.targetLanguages.push_back({"l" + std::to_string(i), name});
    }
    return snapshot;
}

inline LiveTranslationHelperCommittedCard card(const std::string &id,
    const std::string &translation, const std::string &source = "Original text")
{
    return {.id = id, .sourceText = source, .translatedText = translation, .committedAt = 7e8};
}

// n cards "card-<firstId>" .., each with a few words of text.
inline LiveTranslationHelperSnapshot withCards(int count, int firstId = 0)
{
    LiveTranslationHelperSnapshot snapshot;
    for (int i = firstId; i < firstId + count; ++i) {
        const std::string n = std::to_string(i);
        snapshot.committedCards.push_back(card("card-" + n,
            "Translated sentence number " + n + " reads like this", "Originalsatz Nummer " + n));
    }
    return snapshot;
}

struct ShownColumn {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    LiveTranslationCaptionsView *view = new LiveTranslationCaptionsView(window.get());

    explicit ShownColumn(int height = 500)
    {
        auto *layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        window->resize(520, height);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
};

// A grab whose pixels are device pixels; pixelAt takes logical coordinates.
inline QImage grab(QWidget *widget)
{
    const QPixmap pixmap = widget->grab();
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(pixmap.devicePixelRatio());
    return image;
}

inline QColor pixelAt(const QImage &image, QPointF logical)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qFloor(logical.x() * ratio), qFloor(logical.y() * ratio));
}

inline int distance(const QColor &a, const QColor &b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
        std::abs(a.blue() - b.blue())});
}

// The largest difference of the red, green and blue components; the smallest one within a
// logical rectangle.
inline int closestDistance(const QImage &image, const QRectF &logical, const QColor &colour)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect device = QRectF(logical.topLeft() * ratio, logical.size() * ratio)
                             .toAlignedRect()
                             .intersected(image.rect());
    int best = 256;
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x)
            best = std::min(best, distance(image.pixelColor(x, y), colour));
    return best;
}

inline QColor over(const QColor &top, qreal opacity, const QColor &bottom)
{
    const auto mix = [opacity](int t, int b) { return qRound(t * opacity + b * (1 - opacity)); };
    return {mix(top.red(), bottom.red()), mix(top.green(), bottom.green()),
        mix(top.blue(), bottom.blue())};
}

inline QRect rectIn(const QWidget *widget, const QWidget *ancestor)
{
    return {widget->mapTo(ancestor, QPoint(0, 0)), widget->size()};
}

class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget *root)
    {
        root->installEventFilter(this);
        for (QWidget *child : root->findChildren<QWidget *>())
            child->installEventFilter(this);
    }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        m_count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    int m_count = 0;
};

inline QWidget *findNamed(const QWidget *root, const QString &objectName)
{
    const QList<QWidget *> named = root->findChildren<QWidget *>(objectName);
    const auto shown
        = std::find_if(named.begin(), named.end(), [](QWidget *w) { return !w->isHidden(); });
    return shown == named.end() ? nullptr : *shown;
}

// Every visible widget under root whose object name starts with prefix, top to bottom.
inline std::vector<QWidget *> visibleNamed(const QWidget *root, const QString &prefix)
{
    std::vector<QWidget *> result;
    for (QWidget *widget : root->findChildren<QWidget *>())
        if (widget->objectName().startsWith(prefix) && widget->isVisible())
            result.push_back(widget);
    std::sort(result.begin(), result.end(), [](QWidget *a, QWidget *b) {
        return a->mapToGlobal(QPoint(0, 0)).y() < b->mapToGlobal(QPoint(0, 0)).y();
    });
    return result;
}

// QTest's own wait takes a tool window for active as soon as its parent is.
inline bool waitUntilActive(QWidget *window)
{
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

inline void click(QWidget *widget)
{
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, key, modifiers);
}

} // namespace viewtest
