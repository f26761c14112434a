#pragma once

#include <QHash>
#include <QObject>
#include <QRegion>

// Adds up the area of every paint event, per receiving widget, while installed as an
// application-wide event filter: what a change really made Qt repaint.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject* parent = nullptr);

    void reset();
    // Pixels painted, counted again each time they are painted again.
    qint64 area(const QObject* widget) const { return m_area.value(widget); }
    qint64 totalArea() const;
    // Everything painted on the widget since the reset, in its own coordinates.
    QRegion region(const QObject* widget) const { return m_region.value(widget); }
    int events() const { return m_events; }

    static qint64 areaOf(const QRegion& region);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, qint64> m_area;
    QHash<const QObject*, QRegion> m_region;
    int m_events = 0;
};
