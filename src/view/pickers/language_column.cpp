#include "language_column.hpp"

#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include "common/view_support.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/picker_rows.hpp"

LiveTranslationLanguageColumn::LiveTranslationLanguageColumn(
    const QString &header, const QString &identifier, QWidget *parent)
    : QWidget(parent)
    , m_identifier(identifier)
    , m_header(new QLabel(header, this))
    , m_list(new LiveTranslationLazyList([this](QWidget *p) { return makeRow(p); },
          [this](QWidget *e, int i) { bindRow(e, i); }, this))
{
    setObjectName(identifier);
    setAccessibleName(header);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    m_header->setTextFormat(Qt::PlainText);
    m_header->setFont(systemFont(kHeaderPixelSize, QFont::DemiBold));
    m_header->setContentsMargins(kHeaderPadding, 0, kHeaderPadding, kHeaderBottomPadding);

    m_list->setPadding(kListPadding);
    m_list->setSpacing(kRowSpacing);
    m_list->setEndPadding(kListEndPadding);
    m_list->setAccessibleName(header);
    m_list->setEntryNames([this](int index) {
        const auto &option = m_options[std::size_t(index)];
        const QString name = QString::fromStdString(option.displayName);
        return name.trimmed().isEmpty() ? QString::fromStdString(option.id) : name;
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kSpacing);
    layout->addWidget(m_header);
    layout->addWidget(m_list, 1);
}

void LiveTranslationLanguageColumn::render(std::vector<LiveTranslationHelperLanguageOption> options,
    const std::string &chosenId, const LiveTranslationPalette &palette)
{
    const bool firstRender = !m_rendered;
    const bool optionsChanged = firstRender || options != m_options;
    const bool marksChanged = firstRender || chosenId != m_chosenId || palette != m_palette;
    if (!optionsChanged && !marksChanged)
        return;
    m_rendered = true;
    m_chosenId = chosenId;
    if (firstRender || palette != m_palette) {
        m_palette = palette;
        setTextColor(m_header, palette.tertiaryText);
        m_list->setColors(palette);
    }
    if (optionsChanged) {
        m_options = std::move(options);
        m_list->setEntries(std::vector<int>(m_options.size(), LiveTranslationLanguageRow::kHeight));
    } else {
        m_list->rebindAll();
    }
    m_list->setPreferredEntry(firstChosenIndex());
}

void LiveTranslationLanguageColumn::scrollToTop()
{
    m_list->verticalScrollBar()->setValue(0);
}

void LiveTranslationLanguageColumn::scrollToChosen()
{
    if (const int index = firstChosenIndex(); index >= 0)
        m_list->scrollToEntry(index, LiveTranslationLazyList::ScrollHint::centre);
}

int LiveTranslationLanguageColumn::firstChosenIndex() const
{
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        if (m_options[i].id == m_chosenId)
            return int(i);
    }
    return -1;
}

QWidget *LiveTranslationLanguageColumn::makeRow(QWidget *parent)
{
    auto *row = new LiveTranslationLanguageRow(parent);
    connect(row, &QAbstractButton::clicked, this, [this, row] {
        const int index = m_list->indexOf(row);
        if (index >= 0 && index < int(m_options.size()))
            emit chosen(m_options[std::size_t(index)].id);
    });
    return row;
}

void LiveTranslationLanguageColumn::bindRow(QWidget *entry, int index)
{
    auto *row = static_cast<LiveTranslationLanguageRow *>(entry);
    if (index < 0) {
        row->setObjectName(QString());
        row->setOption(QString(), QString());
        row->setSelected(false);
        return;
    }
    const auto &option = m_options[std::size_t(index)];
    const QString id = QString::fromStdString(option.id);
    row->setObjectName(m_identifier + QStringLiteral(".option.") + id);
    row->setOption(id, QString::fromStdString(option.displayName));
    row->setSelected(option.id == m_chosenId);
    row->setColors(m_palette);
}
