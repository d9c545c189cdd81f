#include "audio_picker.hpp"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

#include "app_icons.hpp"
#include "common/divider.hpp"
#include "common/view_logic.hpp"
#include "common/view_support.hpp"
#include "model.hpp"
#include "pickers/capture_status.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/picker_rows.hpp"

namespace {

constexpr int kHeaderPosition = 1;

} // namespace

// One entry of the list: the "APPLICATIONS" header when it is the second entry, then the row.
class LiveTranslationAudioEntry final : public QWidget {
public:
    explicit LiveTranslationAudioEntry(QWidget *parent)
        : QWidget(parent)
        , m_header(new QLabel(LiveTranslationAudioPicker::tr("APPLICATIONS"), this))
        , m_row(new LiveTranslationAudioRow(this))
    {
        m_header->setTextFormat(Qt::PlainText);
        m_header->setFont(
            systemFont(LiveTranslationAudioPicker::kHeaderPixelSize, QFont::DemiBold));
        m_header->setContentsMargins(LiveTranslationAudioPicker::kHeaderSidePadding,
            LiveTranslationAudioPicker::kHeaderTop, LiveTranslationAudioPicker::kHeaderSidePadding,
            LiveTranslationAudioPicker::kHeaderBottom);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(m_header);
        layout->addWidget(m_row, 1);
        setFocusProxy(m_row);
    }

    QLabel *header() const { return m_header; }
    LiveTranslationAudioRow *row() const { return m_row; }

private:
    QLabel *m_header;
    LiveTranslationAudioRow *m_row;
};

LiveTranslationAudioPicker::LiveTranslationAudioPicker(
    LiveTranslationHelperModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_title(new QLabel(tr("Audio source"), this))
    , m_list(new LiveTranslationLazyList([this](QWidget *p) { return makeEntry(p); },
          [this](QWidget *e, int i) { bindEntry(e, i); }, this))
    , m_divider(new LiveTranslationDivider(this))
    , m_status(new LiveTranslationCaptureStatus(this))
{
    setObjectName(QStringLiteral("liveTranslation.audioSourcePickerContent"));
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::NoFocus);
    // Opening lands in the list, on the chosen source.
    setFocusProxy(m_list);

    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(systemFont(kTitlePixelSize, QFont::DemiBold));
    m_title->setContentsMargins(kTitleSidePadding, kTitleTop, kTitleSidePadding, kTitleBottom);
    m_list->setPadding(kListPadding);
    m_list->setSpacing(kEntrySpacing);
    m_list->setEndPadding(kListEndPadding);
    // No name of its own: the popover's "Audio source" is read on opening, and the list
    // repeating it would have it read twice before the chosen source.
    m_list->setEntryNames([this](int index) {
        const auto &source = m_sources[std::size_t(index)];
        const QString name = audioOptionName(source);
        return name.trimmed().isEmpty() ? QString::fromStdString(source.id) : name;
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_divider);
    layout->addWidget(m_status);
}

int LiveTranslationAudioPicker::headerHeight() const
{
    return kHeaderTop + QFontMetrics(systemFont(kHeaderPixelSize, QFont::DemiBold)).height()
        + kHeaderBottom;
}

void LiveTranslationAudioPicker::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    const bool paletteChanged = m_palette != palette;
    if (paletteChanged) {
        m_palette = palette;
        setTextColor(m_title, palette.foreground);
        m_divider->setColor(palette.border);
        m_list->setColors(palette);
    }
    m_status->render(snapshot, palette);

    const bool sourcesChanged = !m_listRendered || snapshot.audioSources != m_sources;
    const bool marksChanged = snapshot.selectedAudioSourceID != m_chosenId;
    if (!sourcesChanged && !marksChanged && !paletteChanged)
        return;
    m_listRendered = true;
    m_chosenId = snapshot.selectedAudioSourceID;
    if (sourcesChanged) {
        m_sources = snapshot.audioSources;
        std::vector<int> heights;
        heights.reserve(m_sources.size());
        for (std::size_t i = 0; i < m_sources.size(); ++i) {
            int height = m_sources[i].id == kEverythingAudioSourceId
                ? LiveTranslationAudioRow::kEverythingMinHeight
                : LiveTranslationAudioRow::kMinHeight;
            if (i == kHeaderPosition)
                height += headerHeight();
            heights.push_back(height);
        }
        m_list->setEntries(std::move(heights));
    } else {
        m_list->rebindAll();
    }
    int chosen = -1;
    for (std::size_t i = 0; i < m_sources.size() && chosen < 0; ++i) {
        if (m_sources[i].id == m_chosenId)
            chosen = int(i);
    }
    m_list->setPreferredEntry(chosen);
}

void LiveTranslationAudioPicker::refreshIcons()
{
    m_icons.clear();
    m_list->rebindAll();
}

void LiveTranslationAudioPicker::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ThemeChange)
        refreshIcons();
}

// Reading a desktop entry and drawing a probe of its icon is too slow to repeat for every
// snapshot that rebinds the rows.
QIcon LiveTranslationAudioPicker::iconFor(const QString &sourceId)
{
    auto found = m_icons.constFind(sourceId);
    if (found == m_icons.cend())
        found = m_icons.insert(sourceId, applicationIcon(sourceId));
    return *found;
}

QWidget *LiveTranslationAudioPicker::makeEntry(QWidget *parent)
{
    auto *entry = new LiveTranslationAudioEntry(parent);
    connect(entry->row(), &QAbstractButton::clicked, this,
        [this, entry] { choose(m_list->indexOf(entry)); });
    return entry;
}

void LiveTranslationAudioPicker::bindEntry(QWidget *widget, int index)
{
    auto *entry = static_cast<LiveTranslationAudioEntry *>(widget);
    LiveTranslationAudioRow *row = entry->row();
    if (index < 0) {
        row->setObjectName(QString());
        row->setOption(QString(), QString());
        row->setSelected(false);
        return;
    }
    const auto &source = m_sources[std::size_t(index)];
    const QString id = QString::fromStdString(source.id);
    const bool everything = source.id == kEverythingAudioSourceId;
    entry->header()->setVisible(index == kHeaderPosition);
    row->setObjectName(QStringLiteral("liveTranslation.audioSourcePicker.option.") + id);
    row->setOption(id, audioOptionName(source));
    row->setSubtitle(everything ? tr("Everything playing on this Mac") : QString());
    if (everything) {
        row->setSourceIcon(LiveTranslationAudioRow::IconKind::everything);
    } else {
        const QIcon icon = iconFor(id);
        row->setSourceIcon(icon.isNull() ? LiveTranslationAudioRow::IconKind::generic
                                         : LiveTranslationAudioRow::IconKind::application,
            icon);
    }
    row->setSelected(source.id == m_chosenId);
    if (m_palette) {
        row->setColors(*m_palette);
        setTextColor(entry->header(), m_palette->tertiaryText);
    }
}

void LiveTranslationAudioPicker::choose(int index)
{
    if (index < 0 || index >= int(m_sources.size()))
        return;
    // Sent also for the source already chosen; what is marked changes with the next snapshot.
    m_model->sendCommand(
        LiveTranslationHelperCommand::setAudioSource(m_sources[std::size_t(index)].id));
    emit closeRequested();
}
