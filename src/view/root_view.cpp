#include "root_view.hpp"

#include <QAbstractButton>
#include <QPainter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "captions/footer.hpp"
#include "captions/view.hpp"
#include "common/announcer.hpp"
#include "common/button_styles.hpp"
#include "common/divider.hpp"
#include "common/footer_area.hpp"
#include "face/limit_card.hpp"
#include "face/top_bar.hpp"
#include "model.hpp"
#include "pickers/picker_popovers.hpp"

namespace {

// The limit card stands in for the captions only while no session runs.
bool showsLimitCard(const LiveTranslationHelperSnapshot &snapshot)
{
    return snapshot.canRequestMoreTime && !snapshot.isSessionActive;
}

} // namespace

LiveTranslationHelperView::LiveTranslationHelperView(
    LiveTranslationHelperModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_topBar(new LiveTranslationTopBar(this))
    , m_topDivider(new LiveTranslationDivider(this))
    , m_content(new QStackedWidget(this))
    , m_footerDivider(new LiveTranslationDivider(this))
    , m_footer(new LiveTranslationFooter(this))
{
    setObjectName(QStringLiteral("liveTranslation.root"));
    buildContent();
    buildFooter();

    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(m_topBar);
    stack->addWidget(m_topDivider);
    stack->addWidget(m_content, 1);
    stack->addWidget(m_footerDivider);
    stack->addWidget(m_footer);

    const auto send = [this](LiveTranslationHelperCommand (*make)()) {
        return [this, make] { m_model->sendCommand(make()); };
    };
    connect(m_topBar, &LiveTranslationTopBar::startPressed, this,
        send(&LiveTranslationHelperCommand::start));
    connect(m_topBar, &LiveTranslationTopBar::stopPressed, this,
        send(&LiveTranslationHelperCommand::stop));
    connect(m_topBar, &LiveTranslationTopBar::cancelPressed, this,
        send(&LiveTranslationHelperCommand::cancel));
    connect(m_limitCard, &LiveTranslationLimitCard::requestMoreTimePressed, this,
        send(&LiveTranslationHelperCommand::requestMoreTime));
    connect(m_topBar, &LiveTranslationTopBar::closePressed, m_model,
        &LiveTranslationHelperModel::closePanel);
    connect(m_topBar, &LiveTranslationTopBar::languagePairPressed, this,
        &LiveTranslationHelperView::toggleLanguages);
    connect(m_topBar, &LiveTranslationTopBar::audioSourcePressed, this,
        &LiveTranslationHelperView::toggleAudio);
    connect(m_model, &LiveTranslationHelperModel::snapshotChanged, this,
        &LiveTranslationHelperView::render);
    m_pickers = new LiveTranslationPickerPopovers(
        this, m_model, &m_state, languagePairButton(), audioSourceButton());
    m_announcer = new LiveTranslationAnnouncer(this);

    render();
}

void LiveTranslationHelperView::buildContent()
{
    m_content->setObjectName(QStringLiteral("liveTranslation.content"));
    m_captions = new LiveTranslationCaptionsView(m_content);
    m_limitCard = new LiveTranslationLimitCard(m_content);
    m_content->addWidget(m_captions);
    m_content->addWidget(m_limitCard);
}

void LiveTranslationHelperView::buildFooter()
{
    m_captionsFooter = new LiveTranslationCaptionsFooter(m_model);
    m_footer->setContent(m_captionsFooter);
}

QAbstractButton *LiveTranslationHelperView::languagePairButton() const
{
    return m_topBar->languagePairButton();
}

QAbstractButton *LiveTranslationHelperView::audioSourceButton() const
{
    return m_topBar->audioSourceButton();
}

void LiveTranslationHelperView::setColorScheme(LiveTranslationColorScheme scheme)
{
    if (scheme == m_colorScheme)
        return;
    m_colorScheme = scheme;
    render();
}

void LiveTranslationHelperView::setReduceMotion(bool reduceMotion)
{
    m_reduceMotion = reduceMotion;
    m_captions->setReduceMotion(reduceMotion);
}

// The pair button only flips the flag; the language picker follows it.
void LiveTranslationHelperView::toggleLanguages()
{
    m_state.setLanguagesPresented(!m_state.languagesPresented());
}

// The audio button only flips the flag; the audio picker follows it.
void LiveTranslationHelperView::toggleAudio()
{
    m_state.setAudioPresented(!m_state.audioPresented());
}

void LiveTranslationHelperView::render()
{
    const LiveTranslationHelperSnapshot &snapshot = m_model->snapshot();
    const LiveTranslationPalette palette = LiveTranslationPalette::forScheme(m_colorScheme);
    applyPalette(palette);

    m_topBar->render(snapshot, palette);
    m_pickers->render(snapshot, palette);
    m_topDivider->setColor(palette.border);
    QWidget *content = showsLimitCard(snapshot) ? static_cast<QWidget *>(m_limitCard) : m_captions;
    if (m_content->currentWidget() != content)
        m_content->setCurrentWidget(content);
    m_limitCard->render(snapshot, palette);
    m_captions->render(snapshot, palette);
    m_footerDivider->setColor(palette.border);
    m_footer->render(snapshot, palette);
    m_captionsFooter->render(snapshot, palette);
    m_announcer->follow(snapshot);
}

// The default text colour, tint and background of everything inside the view, standard
// controls included.
void LiveTranslationHelperView::applyPalette(const LiveTranslationPalette &palette)
{
    if (m_appliedPalette == palette)
        return;
    m_appliedPalette = palette;
    setPalette(palette.toQPalette());
    update();
}

void LiveTranslationHelperView::paintEvent(QPaintEvent * /*event*/)
{
    QPainter(this).fillRect(rect(), palette().color(QPalette::Window));
}
