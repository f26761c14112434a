#pragma once

#include <QWidget>
#include <span>
#include <vector>

#include "DrawnControl.h"

class QPainter;

// The window's client area: paints the labels, lines and shapes of the layout beneath the
// windowed controls, which are its children.
class FormCanvas : public QWidget {
    Q_OBJECT

public:
    // Paints the drawn ones among the controls; the client area is width x height twips.
    FormCanvas(std::span<const form_layout::LayoutEntry> controls, double width, double height,
               QWidget* parent = nullptr);

    // Index of a drawn control by its layout name, or -1.
    int indexOf(std::string_view name) const;
    const DrawnControl& drawnControl(int index) const { return m_backToFront[size_t(index)]; }
    const DrawnControl* drawnControl(std::string_view name) const;
    const std::vector<DrawnControl>& drawnControls() const { return m_backToFront; }
    QRect drawnExtent(int index) const;

    // The client area with every visible control, onto any paint device: the printer's too.
    void paintClientArea(QPainter& painter);

    void setLineY2(int index, float y2);
    void setShapeWidth(int index, float width);
    void setLabelCaption(int index, const QString& caption);

    // A label whose new captions a screen reader speaks as they come.
    void setLiveLabel(int index) { m_liveLabel = index; }
    bool isLiveLabel(int index) const { return index == m_liveLabel; }

signals:
    void labelCaptionChanged(int index, const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Repaints only what a change uncovered or covered, not the whole client area.
    void changeGeometry(int index, int coordinate, double value);

    std::vector<DrawnControl> m_backToFront;
    int m_liveLabel = -1;
};
