#pragma once

#include <QAccessibleWidget>
#include <vector>

class FormCanvas;

// The labels are painted, not widgets; this makes them children of the client area for screen
// readers, after the windowed controls.
class FormCanvasAccessible : public QAccessibleWidget {
public:
    explicit FormCanvasAccessible(FormCanvas* canvas);

    static void installFactory();
    // Speaks a live label's new caption, where a screen reader listens.
    static void announceCaption(FormCanvas* canvas, int index);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    int widgetChildCount() const;
    QAccessibleInterface* label(int index) const;

    std::vector<int> m_labelIndices;  // drawn controls that are labels, in layout order
    mutable std::vector<QAccessible::Id> m_labelIds;
};
