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

struct RecordingModel {
    LiveTranslationHelperModel model;
    std::vector<LiveTranslationHelperCommand> commands;
    std::vector<std::string> events; // wire names, and "<hide panel>"

    RecordingModel();
    std::vector<std::string> sent() const; // "wire_name" or "wire_name:value"
};

// n languages "Language 0000" .. with ids "l0" .., in both lists.
LiveTranslationHelperSnapshot withLanguages(
    int count, std::string source = "l1", std::string target = "l2");

LiveTranslationHelperCommittedCard card(const std::string &id, const std::string &translation,
    const std::string &source = "Original text");

// n cards "card-<firstId>" .., each with a few words of text.
LiveTranslationHelperSnapshot withCards(int count, int firstId = 0);

struct ShownColumn {
    std::unique_ptr<QWidget> window;
    LiveTranslationCaptionsView *view;

    explicit ShownColumn(int height = 500);
};

// A grab whose pixels are device pixels; pixelAt takes logical coordinates.
QImage grab(QWidget *widget);
QColor pixelAt(const QImage &image, QPointF logical);
// The largest difference of the red, green and blue components; the smallest of it within a
// rectangle. A colour at an opacity drawn over an opaque one.
int distance(const QColor &a, const QColor &b);
int closestDistance(const QImage &image, const QRectF &logical, const QColor &colour);
QColor over(const QColor &top, qreal opacity, const QColor &bottom);
QRect rectIn(const QWidget *widget, const QWidget *ancestor);

class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget *root);
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_count = 0;
};

QWidget *findNamed(const QWidget *root, const QString &objectName);
// Every visible widget under root whose object name starts with prefix, top to bottom.
std::vector<QWidget *> visibleNamed(const QWidget *root, const QString &prefix);
// QTest's own wait takes a tool window for active as soon as its parent is.
bool waitUntilActive(QWidget *window);
void click(QWidget *widget);
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace viewtest
