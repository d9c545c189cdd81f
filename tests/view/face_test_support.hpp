#pragma once

// Shared helpers of the panel face's widget tests: one application, pixel sampling of grabbed
// images, and a model whose commands are recorded.

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "model.hpp"

namespace facetest {

// The one application of a test binary, there for every test.
QApplication &app();

// Grabs a widget into an image whose pixels are device pixels (devicePixelRatio set).
QImage grab(QWidget *widget);

// The pixel at a point given in the grabbed widget's logical coordinates.
QColor pixelAt(const QImage &image, QPointF logical);

// Colour distance: the largest difference of the red, green and blue components.
int distance(const QColor &a, const QColor &b);

// The smallest distance between colour and any pixel inside the logical rectangle.
int closestDistance(const QImage &image, const QRectF &logical, const QColor &colour);

// A colour at an opacity drawn over an opaque one.
QColor over(const QColor &top, qreal opacity, const QColor &bottom);

// Maps a widget's rectangle into the coordinates of one of its ancestors.
QRect rectIn(const QWidget *widget, const QWidget *ancestor);

// A model whose commands and panel hiding are recorded in order, by wire name.
struct RecordingModel {
    LiveTranslationHelperModel model;
    std::vector<std::string> events;

    RecordingModel();
};

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

} // namespace facetest
