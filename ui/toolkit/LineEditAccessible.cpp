#include "LineEditAccessible.h"

#include <QFontMetrics>
#include <QLineEdit>

LineEditAccessible::LineEditAccessible(QLineEdit* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit* LineEditAccessible::box() const {
    return static_cast<QLineEdit*>(widget());
}

QString LineEditAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value && !box()->text().isEmpty()) return box()->text();
    return QAccessibleWidget::text(t);
}

void LineEditAccessible::setText(QAccessible::Text t, const QString& text) {
    if (t != QAccessible::Value) return QAccessibleWidget::setText(t, text);
    if (!box()->isReadOnly()) box()->setText(text);
}

QAccessible::State LineEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !box()->isReadOnly();
    state.readOnly = box()->isReadOnly();
    state.selectableText = true;
    return state;
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !box()->hasSelectedText()) return;
    *startOffset = box()->selectionStart();
    *endOffset = box()->selectionEnd();
}

int LineEditAccessible::selectionCount() const {
    return box()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) box()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) box()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const {
    return box()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position) {
    box()->setCursorPosition(position);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const {
    if (startOffset > endOffset) return {};
    return box()->text().mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const {
    return int(box()->text().size());
}

// Measured from the left of the text as shown; the boxes never scroll their few digits.
QRect LineEditAccessible::characterRect(int offset) const {
    const QString text = box()->text();
    if (offset < 0 || offset >= text.size()) return {};
    const QFontMetrics metrics(box()->font());
    const QRect inside = box()->contentsRect().marginsRemoved(box()->textMargins());
    const int top = inside.top() + (inside.height() - metrics.height()) / 2;
    const QRect local(inside.left() + metrics.horizontalAdvance(text.left(offset)), top,
                      metrics.horizontalAdvance(text.at(offset)), metrics.height());
    return QRect(box()->mapToGlobal(local.topLeft()), local.size());
}

int LineEditAccessible::offsetAtPoint(const QPoint& point) const {
    return box()->cursorPositionAt(box()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    box()->setCursorPosition(endIndex);
    box()->setCursorPosition(startIndex);
}

// One run, without attributes, over the whole text.
QString LineEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    const int length = characterCount();
    if (offset < 0 || offset > length) {
        *startOffset = *endOffset = -1;
        return {};
    }
    *startOffset = 0;
    *endOffset = length;
    return {};
}

void LineEditAccessible::deleteText(int startOffset, int endOffset) {
    if (!box()->isReadOnly())
        box()->setText(box()->text().remove(startOffset, endOffset - startOffset));
}

void LineEditAccessible::insertText(int offset, const QString& text) {
    if (!box()->isReadOnly()) box()->setText(box()->text().insert(offset, text));
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    if (!box()->isReadOnly())
        box()->setText(box()->text().replace(startOffset, endOffset - startOffset, text));
}
