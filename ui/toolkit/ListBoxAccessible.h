#pragma once

#include <QAccessibleWidget>
#include <vector>

class QListWidget;

// A ListBox as a screen reader sees it: a list whose items are its rows, all of them. Orca 48
// counts only the items on screen unless the list states its size, and Qt's own list gives it
// no way to.
// clang-format off
class ListBoxAccessible : public QAccessibleWidget
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
                        , public QAccessibleAttributesInterface
#endif
{
    // clang-format on
public:
    explicit ListBoxAccessible(QListWidget* list);
    ~ListBoxAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QList<QAccessible::Attribute> attributeKeys() const override;
    QVariant attributeValue(QAccessible::Attribute key) const override;
#endif

private:
    QListWidget* list() const;

    mutable std::vector<QAccessible::Id> m_rowIds;  // registered on first use, by row
};
