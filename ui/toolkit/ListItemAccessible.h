#pragma once

#include <QAccessible>
#include <QPointer>

class QListWidget;

// One row of a ListBox as a screen reader sees it: a list item named by its text, selected as
// the row is, and off screen while scrolled out of the list's view.
class ListItemAccessible : public QAccessibleInterface {
public:
    ListItemAccessible(QListWidget* list, int row);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QPointer<QListWidget> m_list;
    int m_row;
};
