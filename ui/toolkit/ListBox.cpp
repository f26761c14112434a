#include "ListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Qt's views select on any button; a right or middle click here is not a pick.
bool isOtherButton(const QMouseEvent* event) {
    return event->button() != Qt::LeftButton;
}

}  // namespace

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    connect(this, &QAbstractItemView::clicked, this, [this] { m_clicked = true; });
}

int ListBox::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = selectedRow();
    QListWidget::keyPressEvent(event);
    if (selectedRow() != before) emit picked();
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    if (isOtherButton(event)) return event->accept();
    m_selectedBeforePress = selectedRow();
    QListWidget::mousePressEvent(event);
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (isOtherButton(event)) return event->accept();
    m_clicked = false;
    QListWidget::mouseReleaseEvent(event);
    // A press on one item and a release on another, or off the items, clicks nothing, yet the
    // selection has moved: that too is a pick.
    if (m_clicked || selectedRow() != m_selectedBeforePress) {
        m_selectedBeforePress = selectedRow();
        emit picked();
    }
}

void ListBox::focusInEvent(QFocusEvent* event) {
    // Qt makes the first row current on focus, so that Down would skip it; with nothing
    // selected yet the first Down must select the first item. Told that no row is current, it
    // leaves them all alone: a row made current for a moment is one a screen reader reads
    // (Orca 48 said "1. non selezionato").
    if (selectedRow() < 0 && !currentIndex().isValid()) setCurrentIndex(QModelIndex());
    QListWidget::focusInEvent(event);
    if (selectedRow() < 0) selectionModel()->clearCurrentIndex();
}

// With no current row Qt starts every move at the first row: End and Page Down must go where
// they go once the first row is current.
QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (!currentIndex().isValid() && count() > 0 && (action == MoveEnd || action == MovePageDown))
        selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
    return QListWidget::moveCursor(action, modifiers);
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    // Dragging off the items, or a Ctrl+click on the selected one, would leave nothing picked.
    if (!index.isValid() && selectedRow() >= 0) return QItemSelectionModel::NoUpdate;
    QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        command = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return command;
}

// Compiled with this file: in a file of its own, it would parse Qt's headers once more.
#include "moc_ListBox.cpp"
