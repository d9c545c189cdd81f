#include "language_picker.hpp"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/accessibility.hpp"
#include "common/divider.hpp"
#include "common/view_logic.hpp"
#include "common/view_state.hpp"
#include "common/view_support.hpp"
#include "model.hpp"
#include "pickers/language_column.hpp"
#include "pickers/language_search_field.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/swap_button.hpp"

LiveTranslationLanguagePicker::LiveTranslationLanguagePicker(
    LiveTranslationHelperModel *model, LiveTranslationViewState *state, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_state(state)
    , m_title(new QLabel(tr("Languages"), this))
    , m_search(new LiveTranslationLanguageSearchField(this))
    , m_source(new LiveTranslationLanguageColumn(
          QStringLiteral("FROM"), QStringLiteral("liveTranslation.sourceLanguagePicker"), this))
    , m_swap(new LiveTranslationSwapButton(this))
    , m_target(new LiveTranslationLanguageColumn(
          QStringLiteral("TO"), QStringLiteral("liveTranslation.targetLanguagePicker"), this))
    , m_swapTopDivider(new LiveTranslationDivider(this))
    , m_swapBottomDivider(new LiveTranslationDivider(this))
    , m_divider(new LiveTranslationDivider(this))
    , m_footnote(new QLabel(tr("Changing languages starts a new session."), this))
{
    setObjectName(QStringLiteral("liveTranslation.languagePickerContent"));
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::NoFocus);

    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(systemFont(kTitlePixelSize, QFont::DemiBold));
    m_title->setContentsMargins(kSideMargin, kTitleTop, kSideMargin, kTitleBottom);

    QLineEdit *edit = m_search->edit();
    edit->setPlaceholderText(tr("Search languages"));
    setAccessibleIdentity(
        edit, QStringLiteral("liveTranslation.languageSearchField"), tr("Search languages"));
    edit->setText(m_state->languageSearch());
    connect(edit, &QLineEdit::textChanged, this, &LiveTranslationLanguagePicker::onSearchChanged);
    edit->installEventFilter(this);
    // The picker's focus is the search field's, directly: handing it on from a focus event of
    // the picker would have assistive technology read the picker, not the field.
    setFocusProxy(edit);

    setAccessibleIdentity(m_swap, QStringLiteral("liveTranslation.swapLanguagesButton"),
        tr("Swap source and target languages"));
    m_swap->setToolTip(tr("Swap source and target languages"));
    connect(m_swap, &QAbstractButton::clicked, this, &LiveTranslationLanguagePicker::swapLanguages);

    connect(m_source, &LiveTranslationLanguageColumn::chosen, this, [this](const std::string &id) {
        m_model->sendCommand(LiveTranslationHelperCommand::setSourceLanguage(id));
    });
    connect(m_target, &LiveTranslationLanguageColumn::chosen, this, [this](const std::string &id) {
        m_model->sendCommand(LiveTranslationHelperCommand::setTargetLanguage(id));
    });

    m_footnote->setTextFormat(Qt::PlainText);
    m_footnote->setFont(systemFont(kFootnotePixelSize));
    m_footnote->setWordWrap(true);
    m_footnote->setContentsMargins(
        kSideMargin, kFootnoteVerticalPadding, kSideMargin, kFootnoteVerticalPadding);

    auto *swapColumn = new QWidget(this);
    swapColumn->setFixedWidth(kSwapColumnWidth);
    swapColumn->setMaximumHeight(kSwapColumnHeight);
    auto *swapLayout = new QVBoxLayout(swapColumn);
    swapLayout->setContentsMargins(0, 0, 0, 0);
    swapLayout->setSpacing(0);
    swapLayout->addStretch(1);
    swapLayout->addWidget(m_swapTopDivider);
    swapLayout->addSpacing(kSwapButtonPadding);
    swapLayout->addWidget(m_swap, 0, Qt::AlignHCenter);
    swapLayout->addSpacing(kSwapButtonPadding);
    swapLayout->addWidget(m_swapBottomDivider);
    swapLayout->addStretch(1);

    auto *columns = new QHBoxLayout;
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(m_source, 1);
    columns->addWidget(swapColumn, 0, Qt::AlignVCenter);
    columns->addWidget(m_target, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_title);
    auto *searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(kSideMargin, 0, kSideMargin, kSearchBottom);
    searchRow->addWidget(m_search);
    layout->addLayout(searchRow);
    layout->addLayout(columns, 1);
    layout->addWidget(m_divider);
    layout->addWidget(m_footnote);
    // Tab follows the order of creation: the search field, the FROM list, the swap button, the
    // TO list. Typing on a row goes on in the search field.
    m_source->list()->setTypingTarget(edit);
    m_target->list()->setTypingTarget(edit);
}

bool LiveTranslationLanguagePicker::eventFilter(QObject *watched, QEvent *event)
{
    // Down in the search field goes on into the lists, as it would in a drop-down.
    if (watched == m_search->edit() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier) {
            for (LiveTranslationLanguageColumn *column : {m_source, m_target}) {
                if (column->list()->count() > 0) {
                    column->list()->setFocus(Qt::OtherFocusReason);
                    return true;
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

QLineEdit *LiveTranslationLanguagePicker::searchField() const
{
    return m_search->edit();
}

void LiveTranslationLanguagePicker::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    applyPalette(palette);
    renderColumns(snapshot);
}

void LiveTranslationLanguagePicker::applyPalette(const LiveTranslationPalette &palette)
{
    if (m_palette == palette)
        return;
    m_palette = palette;
    setTextColor(m_title, palette.foreground);
    setTextColor(m_footnote, palette.tertiaryText);
    m_search->setColors(palette);
    m_swap->setColors(palette);
    for (auto *divider : {m_swapTopDivider, m_swapBottomDivider, m_divider})
        divider->setColor(palette.border);
}

void LiveTranslationLanguagePicker::renderColumns(const LiveTranslationHelperSnapshot &snapshot)
{
    const QString search = m_state->languageSearch();
    QLineEdit *edit = m_search->edit();
    if (edit->text() != search) {
        const QSignalBlocker blocker(edit);
        edit->setText(search);
    }
    const LiveTranslationPalette palette = m_palette.value_or(LiveTranslationPalette::light());
    // Snapshots stream in while the picker is open (the audio level alone changes many times a
    // second); filtering thousands of names again for the same inputs would be wasted.
    const bool unchanged = m_rendered && m_rendered->search == search
        && m_rendered->palette == palette && m_rendered->sourceId == snapshot.sourceLanguage
        && m_rendered->targetId == snapshot.targetLanguage
        && m_rendered->source == snapshot.sourceLanguages
        && m_rendered->target == snapshot.targetLanguages;
    if (unchanged)
        return;
    m_rendered = RenderedInputs {snapshot.sourceLanguages, snapshot.targetLanguages,
        snapshot.sourceLanguage, snapshot.targetLanguage, search, palette};
    m_source->render(
        filteredLanguages(snapshot.sourceLanguages, search), snapshot.sourceLanguage, palette);
    m_target->render(
        filteredLanguages(snapshot.targetLanguages, search), snapshot.targetLanguage, palette);
    m_swap->setEnabled(canSwapLanguages(snapshot));
}

void LiveTranslationLanguagePicker::onSearchChanged(const QString &text)
{
    m_state->setLanguageSearch(text);
    renderColumns(m_model->snapshot());
    m_source->scrollToTop();
    m_target->scrollToTop();
}

void LiveTranslationLanguagePicker::swapLanguages()
{
    // A disabled button sends nothing, whatever pressed it.
    if (m_swap->isEnabled() && canSwapLanguages(m_model->snapshot()))
        m_model->sendCommand(LiveTranslationHelperCommand::swapLanguages());
}

void LiveTranslationLanguagePicker::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_source->scrollToChosen();
    m_target->scrollToChosen();
}
