#pragma once

#include <memory>

#include <QWidget>

#include "captions/selection.hpp"
#include "captions/text.hpp"
#include "common/palette.hpp"
#include "wire_types.hpp"

// The caption still being built: a header that says whether a translation has arrived, the
// source slot, the translation slot and a note, each with its placeholder while it waits. Its
// host texts are selectable with the mouse and copied with the copy shortcut, which the caption
// list passes on while the card is its current item. Texts too long for
// the card's height limit end in an ellipsis; beside a translation, the source takes at most a
// third of the room.
class LiveTranslationActiveCard final : public QWidget, private LiveTranslationSelectableTexts {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationActiveCard)

public:
    // What the card shows, derived from the snapshot.
    struct Content {
        QString header;
        QString state; // the header as it is spoken
        QString source; // empty when the slot is left out
        bool sourceIsText = false; // the host's text rather than the placeholder
        QString translation;
        bool translationIsText = false;
        QString note;

        bool operator==(const Content &) const = default;
    };

    explicit LiveTranslationActiveCard(QWidget *parent = nullptr);
    ~LiveTranslationActiveCard() override;

    static Content contentFor(const LiveTranslationHelperSnapshot &snapshot);

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);
    const Content &content() const { return m_content; }
    // The tallest the card may be; texts that would make it taller are cut short.
    void setHeightLimit(int limit);
    // Ringed as the caption list's current item while the list has keyboard focus.
    void setFocusRingShown(bool shown);
    bool showsFocusRing() const { return m_focusRingShown; }
    QString selectedText() const;

    bool hasHeightForWidth() const override { return true; }

signals:
    // A press on the card: the caption list takes the focus with the card current, since the
    // card itself never has the focus.
    void pressed();

public:
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct Layout;

    const Layout &layoutFor(int width) const;
    std::optional<Position> selectablePositionAt(QPointF point) override;
    QString selectableText(std::size_t card, int block) const override;
    std::size_t selectableCardCount() const override;
    void selectionChanged() override;
    void keepSelection(const Content &before);

    Content m_content;
    LiveTranslationPalette m_palette;
    LiveTranslationCaptionFonts m_fonts;
    mutable std::unique_ptr<Layout> m_layout;
    LiveTranslationCaptionSelector m_selector {*this};
    bool m_focusRingShown = false;
    int m_heightLimit = 0; // set by the column once it knows its height
};
