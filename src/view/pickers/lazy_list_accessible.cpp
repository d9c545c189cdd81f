#include "lazy_list_accessible.hpp"

#include <vector>

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include "pickers/lazy_list.hpp"

namespace {

// What stands for the entry at index: its focus proxy when it has one, null when not built.
QWidget *itemAt(const LiveTranslationLazyList *list, int index)
{
    QWidget *entry = list->entryAt(index);
    if (!entry)
        return nullptr;
    QWidget *proxy = entry->focusProxy();
    return proxy ? proxy : entry;
}

// The entry's index when widget is the item of a built entry, -1 otherwise.
int itemIndex(const LiveTranslationLazyList *list, const QWidget *widget)
{
    const int index = list->indexOf(widget);
    return index >= 0 && itemAt(list, index) == widget ? index : -1;
}

// An entry that is not built: an item of the list named by the list, which a screen reader
// counts to tell the place of the built ones.
class UnbuiltEntryAccessible final : public QAccessibleInterface {
public:
    UnbuiltEntryAccessible(LiveTranslationLazyList *list, int index)
        : m_list(list)
        , m_index(index)
    {
    }

    bool isValid() const override
    {
        return m_list && m_index < m_list->count() && !m_list->entryAt(m_index);
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_list.data());
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_list->entryName(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        state.offscreen = true;
        state.invisible = true;
        return state;
    }
    int index() const { return m_index; }

private:
    QPointer<LiveTranslationLazyList> m_list;
    int m_index;
};

class LazyListAccessible final : public QAccessibleWidget {
public:
    explicit LazyListAccessible(LiveTranslationLazyList *list)
        : QAccessibleWidget(list, QAccessible::List)
    {
    }

    ~LazyListAccessible() override
    {
        for (const QAccessible::Id id : m_unbuilt) {
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override
    {
        const LiveTranslationLazyList *list = this->list();
        return list ? list->count() : 0;
    }

    QAccessibleInterface *child(int index) const override
    {
        LiveTranslationLazyList *list = this->list();
        if (!list || index < 0 || index >= list->count())
            return nullptr;
        if (QWidget *item = itemAt(list, index))
            return QAccessible::queryAccessibleInterface(item);
        return unbuilt(list, index);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const LiveTranslationLazyList *list = this->list();
        if (!list || !child)
            return -1;
        if (const auto *entry = dynamic_cast<const UnbuiltEntryAccessible *>(child))
            return entry->isValid() && entry->parent() == this ? entry->index() : -1;
        if (!child->object() || !child->object()->isWidgetType())
            return -1;
        return itemIndex(list, static_cast<const QWidget *>(child->object()));
    }

    // Only a built entry in view can be under a point.
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const LiveTranslationLazyList *list = this->list();
        if (!list)
            return nullptr;
        const QPoint point = list->viewport()->mapFromGlobal(QPoint(x, y));
        if (!list->viewport()->rect().contains(point))
            return nullptr;
        for (int index = 0; index < list->count(); ++index) {
            QWidget *item = itemAt(list, index);
            if (item && item->isVisible()
                && item->rect().contains(item->mapFrom(list->viewport(), point)))
                return QAccessible::queryAccessibleInterface(item);
        }
        return nullptr;
    }

private:
    LiveTranslationLazyList *list() const
    {
        return qobject_cast<LiveTranslationLazyList *>(widget());
    }

    // The same interface for an index each time, made when first asked for.
    QAccessibleInterface *unbuilt(LiveTranslationLazyList *list, int index) const
    {
        if (std::size_t(index) >= m_unbuilt.size())
            m_unbuilt.resize(std::size_t(index) + 1, 0);
        QAccessible::Id &id = m_unbuilt[std::size_t(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new UnbuiltEntryAccessible(list, index));
        return QAccessible::accessibleInterface(id);
    }

    mutable std::vector<QAccessible::Id> m_unbuilt;
};

// The list whose built entry widget is the item of, null when none.
const LiveTranslationLazyList *listOfItem(const QWidget *widget)
{
    for (QWidget *w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (const auto *list = qobject_cast<const LiveTranslationLazyList *>(w))
            return itemIndex(list, widget) >= 0 ? list : nullptr;
    }
    return nullptr;
}

QAccessibleInterface *lazyListFactory(const QString & /*className*/, QObject *object)
{
    if (auto *list = qobject_cast<LiveTranslationLazyList *>(object))
        return new LazyListAccessible(list);
    return nullptr;
}

} // namespace

void installLazyListAccessibility()
{
    // Installed after the scroll areas' factory, so that it is asked first.
    static const bool installed = [] {
        QAccessible::installFactory(lazyListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessibleInterface *lazyListItemParent(const QWidget *widget)
{
    const LiveTranslationLazyList *list = listOfItem(widget);
    return list ? QAccessible::queryAccessibleInterface(const_cast<LiveTranslationLazyList *>(list))
                : nullptr;
}

QWidgetList lazyListItemCompanions(const QWidget *widget)
{
    QWidgetList result;
    const LiveTranslationLazyList *list = listOfItem(widget);
    QWidget *entry = list ? list->entryAt(list->indexOf(widget)) : nullptr;
    if (!entry || entry == widget)
        return result;
    for (QWidget *child : entry->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child != widget && child->isVisible())
            result.append(child);
    }
    return result;
}
