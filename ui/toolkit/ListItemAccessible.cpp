#include "ListItemAccessible.h"

#include <QListWidget>
#include <QWindow>

ListItemAccessible::ListItemAccessible(QListWidget* list, int row) : m_list(list), m_row(row) {}

bool ListItemAccessible::isValid() const {
    return m_list && m_row < m_list->count();
}

QWindow* ListItemAccessible::window() const {
    return m_list ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ListItemAccessible::parent() const {
    return QAccessible::queryAccessibleInterface(m_list.data());
}

QString ListItemAccessible::text(QAccessible::Text t) const {
    const QListWidgetItem* item = isValid() ? m_list->item(m_row) : nullptr;
    if (!item) return {};
    if (t == QAccessible::Name) return item->text();
    if (t == QAccessible::Description) return item->data(Qt::AccessibleDescriptionRole).toString();
    return {};
}

QRect ListItemAccessible::rect() const {
    const QListWidgetItem* item = isValid() ? m_list->item(m_row) : nullptr;
    if (!item) return {};
    const QRect local = m_list->visualItemRect(item);
    return QRect(m_list->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State ListItemAccessible::state() const {
    QAccessible::State state;
    const QListWidgetItem* item = isValid() ? m_list->item(m_row) : nullptr;
    if (!item) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = item->isSelected();
    state.focused = m_list->hasFocus() && m_list->currentItem() == item;
    state.disabled = !m_list->isEnabled();
    if (!m_list->viewport()->rect().intersects(m_list->visualItemRect(item)) ||
        !m_list->isVisible()) {
        state.invisible = true;
        state.offscreen = true;
    }
    return state;
}
