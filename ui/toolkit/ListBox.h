#pragma once

#include <QListWidget>

// A list that reports a pick the way the form's handlers expect it: once per mouse click on
// an item (the selected one included), once per press-and-drag that ends with another item
// selected, and once per keyboard move of the selection. Only the left button picks: the others
// touch neither the selection nor the current item. Once an item is selected the user cannot
// clear the selection again.
class ListBox : public QListWidget {
    Q_OBJECT

public:
    explicit ListBox(QWidget* parent = nullptr);

signals:
    void picked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    int selectedRow() const;

    int m_selectedBeforePress = -1;
    bool m_clicked = false;
};
