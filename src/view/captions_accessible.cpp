#include "captions_accessible.hpp"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <string>
#include <unordered_map>

#include "captions_list.hpp"
#include "view_logic.hpp"

namespace {

LiveTranslationCaptionList *listOf(QWidget *viewport)
{
    return viewport ? qobject_cast<LiveTranslationCaptionList *>(viewport->parentWidget())
                    : nullptr;
}

std::optional<std::size_t> visibleIndexOf(LiveTranslationCaptionList *list, const std::string &id)
{
    if (!list)
        return std::nullopt;
    const auto [first, last] = list->visibleCards();
    for (std::size_t i = first; i < last && i < list->cardCount(); ++i) {
        if (list->card(i).id == id)
            return i;
    }
    return std::nullopt;
}

// One committed card in view, found again by its id.
class CardAccessible final : public QAccessibleInterface {
public:
    CardAccessible(QWidget *viewport, std::string id)
        : m_viewport(viewport)
        , m_id(std::move(id))
    {
    }

    const std::string &id() const { return m_id; }
    bool isValid() const override { return !m_viewport.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_viewport ? m_viewport->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_viewport.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        LiveTranslationCaptionList *list = listOf(m_viewport);
        const auto index = visibleIndexOf(list, m_id);
        if (!index)
            return {};
        const auto &card = list->card(*index);
        switch (t) {
        case QAccessible::Name: return fromWire(card.translatedText);
        case QAccessible::Description:
            return list->showsSourceText() ? fromWire(card.sourceText) : QString();
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        LiveTranslationCaptionList *list = listOf(m_viewport);
        const auto index = visibleIndexOf(list, m_id);
        if (!index)
            return {};
        const QRect local = list->cardRect(*index);
        return {m_viewport->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.selectableText = true;
        state.invisible = !visibleIndexOf(listOf(m_viewport), m_id).has_value();
        return state;
    }

private:
    QPointer<QWidget> m_viewport;
    std::string m_id;
};

// The list: the empty state while it shows, then the cards in view.
class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(QWidget *viewport)
        : QAccessibleWidget(viewport, QAccessible::List)
    {
        if (auto *list = listOf(viewport)) {
            QObject::connect(
                list, &LiveTranslationCaptionList::visibleCardsChanged, viewport, [viewport] {
                    auto *iface = dynamic_cast<ListAccessible *>(
                        QAccessible::queryAccessibleInterface(viewport));
                    if (iface)
                        iface->forgetHiddenCards();
                });
        }
    }

    ~ListAccessible() override
    {
        for (const auto &[cardId, id] : m_cards)
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            if (LiveTranslationCaptionList *list = listOf(widget()))
                return list->accessibleName();
        }
        return QAccessibleWidget::text(t);
    }

    int childCount() const override
    {
        LiveTranslationCaptionList *list = listOf(widget());
        if (!list)
            return 0;
        const auto [first, last] = list->visibleCards();
        return emptyStateCount() + static_cast<int>(last - first);
    }

    QAccessibleInterface *child(int index) const override
    {
        LiveTranslationCaptionList *list = listOf(widget());
        if (!list || index < 0)
            return nullptr;
        if (index < emptyStateCount())
            return QAccessible::queryAccessibleInterface(list->emptyState());
        const auto [first, last] = list->visibleCards();
        const std::size_t card = first + static_cast<std::size_t>(index - emptyStateCount());
        if (card >= last || card >= list->cardCount())
            return nullptr;
        const std::string &cardId = list->card(card).id;
        if (const auto found = m_cards.find(cardId); found != m_cards.end())
            return QAccessible::accessibleInterface(found->second);
        auto *iface = new CardAccessible(widget(), cardId);
        m_cards.emplace(cardId, QAccessible::registerAccessibleInterface(iface));
        return iface;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        LiveTranslationCaptionList *list = listOf(widget());
        if (!list || !child)
            return -1;
        if (emptyStateCount() && child->object() == list->emptyState())
            return 0;
        const auto *card = dynamic_cast<const CardAccessible *>(child);
        if (!card)
            return -1;
        const auto index = visibleIndexOf(list, card->id());
        if (!index)
            return -1;
        return emptyStateCount() + static_cast<int>(*index - list->visibleCards().first);
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface *candidate = child(i);
            if (candidate && candidate->rect().contains(x, y))
                return candidate;
        }
        return nullptr;
    }

    // Cards that left the view lose their interfaces; a card in view keeps its own.
    void forgetHiddenCards()
    {
        LiveTranslationCaptionList *list = listOf(widget());
        for (auto it = m_cards.begin(); it != m_cards.end();) {
            if (!visibleIndexOf(list, it->first)) {
                QAccessible::deleteAccessibleInterface(it->second);
                it = m_cards.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    int emptyStateCount() const
    {
        LiveTranslationCaptionList *list = listOf(widget());
        return list && list->emptyState()->isVisibleTo(list) ? 1 : 0;
    }

    mutable std::unordered_map<std::string, QAccessible::Id> m_cards;
};

QAccessibleInterface *captionsAccessibleFactory(const QString & /*key*/, QObject *object)
{
    if (auto *viewport = qobject_cast<LiveTranslationCaptionViewport *>(object))
        return new ListAccessible(viewport);
    return nullptr;
}

} // namespace

void installCaptionsAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(captionsAccessibleFactory);
        return true;
    }();
    (void)installed;
}
