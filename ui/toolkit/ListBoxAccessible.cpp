#include "ListBoxAccessible.h"

#include <QHash>
#include <QListWidget>

#include "ListItemAccessible.h"

ListBoxAccessible::ListBoxAccessible(QListWidget* list)
    : QAccessibleWidget(list, QAccessible::List) {}

ListBoxAccessible::~ListBoxAccessible() {
    for (QAccessible::Id id : m_rowIds)
        if (id) QAccessible::deleteAccessibleInterface(id);
}

QListWidget* ListBoxAccessible::list() const {
    return static_cast<QListWidget*>(widget());
}

// The rows only: Qt's scroll bars are no items of the list.
int ListBoxAccessible::childCount() const {
    return list()->count();
}

QAccessibleInterface* ListBoxAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (size_t(index) >= m_rowIds.size()) m_rowIds.resize(size_t(index) + 1, 0);
    QAccessible::Id& id = m_rowIds[size_t(index)];
    if (!id) id = QAccessible::registerAccessibleInterface(new ListItemAccessible(list(), index));
    return QAccessible::accessibleInterface(id);
}

int ListBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (size_t row = 0; row < m_rowIds.size(); ++row)
        if (m_rowIds[row] && QAccessible::accessibleInterface(m_rowIds[row]) == child)
            return int(row);
    return -1;
}

QAccessibleInterface* ListBoxAccessible::childAt(int x, int y) const {
    const QPoint local = list()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = list()->indexAt(local);
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface* ListBoxAccessible::focusChild() const {
    const int row = list()->currentRow();
    return list()->hasFocus() && row >= 0 ? child(row) : nullptr;
}

QAccessible::State ListBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.multiSelectable = list()->selectionMode() == QAbstractItemView::MultiSelection ||
                            list()->selectionMode() == QAbstractItemView::ExtendedSelection;
    return state;
}

void* ListBoxAccessible::interface_cast(QAccessible::InterfaceType t) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (t == QAccessible::AttributesInterface)
        return static_cast<QAccessibleAttributesInterface*>(this);
#endif
    return QAccessibleWidget::interface_cast(t);
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
QList<QAccessible::Attribute> ListBoxAccessible::attributeKeys() const {
    return {QAccessible::Attribute::Custom};
}

// The size of the set, as ARIA's aria-setsize names it; AT-SPI passes it on as "setsize".
QVariant ListBoxAccessible::attributeValue(QAccessible::Attribute key) const {
    if (key != QAccessible::Attribute::Custom) return {};
    return QVariant::fromValue(
        QHash<QString, QString>{{QStringLiteral("setsize"), QString::number(childCount())}});
}
#endif
