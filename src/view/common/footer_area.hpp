#pragma once

#include <optional>

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QVBoxLayout;

// The panel's footer: a padded stack on the background fill that holds the captions' toggle and
// copy row. The content spans the footer's width and pads itself by kHorizontalPadding.
class LiveTranslationFooter final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationFooter)

public:
    static constexpr int kHorizontalPadding = 14;
    static constexpr int kVerticalPadding = 9;
    static constexpr int kSpacing = 8;

    explicit LiveTranslationFooter(QWidget *parent = nullptr);

    // Places the footer content; the footer owns it from then on.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_stack;
    QWidget *m_content = nullptr;
    QColor m_fill;
};
