#pragma once

#include <QAbstractButton>
#include <QIcon>

#include "common/button_styles.hpp"
#include "common/palette.hpp"

// A row of a picker list: a button without chrome whose rounded background is filled with the
// selection colour when the row is the chosen entry. Space, Return and Enter choose a focused
// row. The row's name is drawn as plain text, never as markup or with mnemonics.
class LiveTranslationPickerRow : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationPickerRow)

public:
    static constexpr qreal kHoverOpacity = 0.5;

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    void setColors(const LiveTranslationPalette &palette);
    const LiveTranslationPalette &colors() const { return m_palette; }

    // The option's id (what a press sends) and name.
    void setOption(const QString &id, const QString &name);
    QString id() const { return m_id; }
    QString name() const { return m_name; }
    // The ring shows while the row has the focus and the focus came by keyboard.
    bool showsFocusRing() const { return m_focusRing.visible(this); }

protected:
    LiveTranslationPickerRow(qreal cornerRadius, QWidget *parent);

    // The row's own content, inside its horizontal padding.
    virtual void paintContent(QPainter &painter) = 0;

    void paintEvent(QPaintEvent *event) final;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QString m_id;
    QString m_name;
    bool m_selected = false;
    qreal m_cornerRadius;
    LiveTranslationPalette m_palette = LiveTranslationPalette::light();
    buttonlook::FocusRing m_focusRing;
};

// A language: its name on one line and, when chosen, a check mark at the trailing edge.
class LiveTranslationLanguageRow final : public LiveTranslationPickerRow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationLanguageRow)

public:
    static constexpr int kHeight = 30;
    static constexpr int kHorizontalPadding = 9;
    static constexpr int kSpacing = 8;
    static constexpr int kMinGap = 4;
    static constexpr int kNamePixelSize = 12;
    static constexpr int kCheckPixelSize = 10;
    static constexpr qreal kCornerRadius = 6;

    explicit LiveTranslationLanguageRow(QWidget *parent = nullptr);

protected:
    void paintContent(QPainter &painter) override;
};

// An audio source: its icon, its name (with a subtitle for everything the computer plays) and,
// when chosen, a check mark.
class LiveTranslationAudioRow final : public LiveTranslationPickerRow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationAudioRow)

public:
    enum class IconKind { everything, application, generic };

    static constexpr int kIconSize = 22;
    static constexpr int kSpacing = 9;
    static constexpr int kTextSpacing = 1;
    static constexpr int kHorizontalPadding = 9;
    static constexpr int kEverythingMinHeight = 43;
    static constexpr int kMinHeight = 34;
    static constexpr int kNamePixelSize = 12;
    static constexpr int kSubtitlePixelSize = 10;
    static constexpr int kCheckPixelSize = 10;
    static constexpr int kSymbolPixelSize = 18;
    static constexpr qreal kCornerRadius = 7;

    explicit LiveTranslationAudioRow(QWidget *parent = nullptr);

    // The icon: the speaker for everything, the application's image, or the generic symbol.
    void setSourceIcon(IconKind kind, const QIcon &image = {});
    IconKind iconKind() const { return m_iconKind; }
    void setSubtitle(const QString &subtitle);
    QString subtitle() const { return m_subtitle; }

protected:
    void paintContent(QPainter &painter) override;

private:
    IconKind m_iconKind = IconKind::generic;
    QIcon m_image;
    QPixmap m_fitted; // m_image at the frame's size, made at the first paint
    QString m_subtitle;
};
