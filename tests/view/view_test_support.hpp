#pragma once

// What the view's widget tests share. The test programs run on the test desktop
// (test_desktop.hpp).

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QString>
#include <QWidget>

#include "model.hpp"
#include "test_desktop.hpp"

class LiveTranslationCaptionsView;

namespace viewtest {

// A model whose commands and panel hiding are recorded in order.
struct RecordingModel {
    LiveTranslationHelperModel model;
    std::vector<LiveTranslationHelperCommand> commands;
    // Wire names of the commands, with "<hide panel>" where the panel was hidden.
    std::vector<std::string> events;

    RecordingModel();
    // The commands as "wire_name" or "wire_name:value".
    std::vector<std::string> sent() const;
};

// n languages "Language 0000" .. with ids "l0" .., in both lists.
LiveTranslationHelperSnapshot withLanguages(
    int count, std::string source = "l1", std::string target = "l2");

LiveTranslationHelperCommittedCard card(const std::string &id, const std::string &translation,
    const std::string &source = "Original text");

// A snapshot with n cards "card-<firstId>" .., each with a few words of text.
LiveTranslationHelperSnapshot withCards(int count, int firstId = 0);

// The captions column in a shown window, 520 wide.
struct ShownColumn {
    std::unique_ptr<QWidget> window;
    LiveTranslationCaptionsView *view;

    explicit ShownColumn(int height = 500);
};

// A grab whose pixels are device pixels; pixelAt takes logical coordinates.
QImage grab(QWidget *widget);
QColor pixelAt(const QImage &image, QPointF logical);
// The largest difference of the red, green and blue components.
int distance(const QColor &a, const QColor &b);
// The smallest distance between colour and any pixel inside the logical rectangle.
int closestDistance(const QImage &image, const QRectF &logical, const QColor &colour);
// A colour at an opacity drawn over an opaque one.
QColor over(const QColor &top, qreal opacity, const QColor &bottom);
QRect rectIn(const QWidget *widget, const QWidget *ancestor);

// Counts paint events of a widget and its children.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget *root);
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_count = 0;
};

// The first shown widget with this object name under root, or null.
QWidget *findNamed(const QWidget *root, const QString &objectName);
// Every visible widget under root whose object name starts with prefix, top to bottom.
std::vector<QWidget *> visibleNamed(const QWidget *root, const QString &prefix);
// QTest's own wait takes a tool window for active as soon as its parent is.
bool waitUntilActive(QWidget *window);
void click(QWidget *widget);
// A key press on the widget that has the keyboard focus.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace viewtest
