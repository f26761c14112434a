#include "FormCanvasAccessible.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>

#include "FormCanvas.h"
#include "LineEditAccessible.h"
#include "ListBox.h"
#include "ListBoxAccessible.h"

namespace {

// One painted label as a screen reader sees it: static text with its caption.
class DrawnLabelAccessible : public QAccessibleInterface {
public:
    DrawnLabelAccessible(FormCanvas* canvas, int index) : m_canvas(canvas), m_index(index) {}

    bool isValid() const override { return !m_canvas.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_canvas ? m_canvas->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_canvas.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !m_canvas) return {};
        return m_canvas->drawnControl(m_index).caption;
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_canvas) return {};
        const QRect local = m_canvas->drawnExtent(m_index);
        return QRect(m_canvas->mapToGlobal(local.topLeft()), local.size());
    }
    // Orca speaks a notification that shows itself at once; static text only when read.
    QAccessible::Role role() const override {
        return m_canvas && m_canvas->isLiveLabel(m_index) ? QAccessible::Notification
                                                          : QAccessible::StaticText;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }

private:
    QPointer<FormCanvas> m_canvas;
    int m_index;
};

QAccessibleInterface* canvasFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("FormCanvas") && object && object->isWidgetType())
        return new FormCanvasAccessible(static_cast<FormCanvas*>(object));
    if (className == QLatin1String("QLineEdit") && qobject_cast<FormCanvas*>(object->parent()))
        return new LineEditAccessible(static_cast<QLineEdit*>(object));
    if (className == QLatin1String("ListBox") && qobject_cast<ListBox*>(object))
        return new ListBoxAccessible(static_cast<ListBox*>(object));
    return nullptr;
}

}  // namespace

FormCanvasAccessible::FormCanvasAccessible(FormCanvas* canvas)
    : QAccessibleWidget(canvas, QAccessible::Client) {
    const auto& drawn = canvas->drawnControls();
    for (size_t i = 0; i < drawn.size(); ++i)
        if (drawn[i].entry->kind == form_layout::ControlKind::Label)
            m_labelIndices.push_back(int(i));
    m_labelIds.assign(m_labelIndices.size(), 0);
}

void FormCanvasAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(canvasFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void FormCanvasAccessible::announceCaption(FormCanvas* canvas, int index) {
    if (!QAccessible::isActive()) return;
    auto* face = dynamic_cast<FormCanvasAccessible*>(QAccessible::queryAccessibleInterface(canvas));
    QAccessibleInterface* label = face ? face->label(index) : nullptr;
    if (!label) return;
    QAccessibleEvent nameChanged(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 also reports a control's new description, which Orca speaks for the focused one:
    // where that control is described by this caption (Command1 by the mean), it has been said.
    const QString caption = label->text(QAccessible::Name);
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus->accessibleDescription() == caption) return;
    QAccessibleAnnouncementEvent announcement(canvas, caption);
    QAccessible::updateAccessibility(&announcement);
#else
    // Before announcements, a notification shown anew is what Orca speaks.
    QAccessibleEvent shown(label, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}

QAccessibleInterface* FormCanvasAccessible::label(int index) const {
    for (size_t i = 0; i < m_labelIndices.size(); ++i)
        if (m_labelIndices[i] == index) return child(widgetChildCount() + int(i));
    return nullptr;
}

int FormCanvasAccessible::widgetChildCount() const {
    return QAccessibleWidget::childCount();
}

int FormCanvasAccessible::childCount() const {
    return widgetChildCount() + int(m_labelIndices.size());
}

QAccessibleInterface* FormCanvasAccessible::child(int index) const {
    const int widgets = widgetChildCount();
    if (index < widgets) return QAccessibleWidget::child(index);
    const size_t label = size_t(index - widgets);
    if (label >= m_labelIndices.size()) return nullptr;
    if (!m_labelIds[label]) {
        auto* face =
            new DrawnLabelAccessible(static_cast<FormCanvas*>(widget()), m_labelIndices[label]);
        m_labelIds[label] = QAccessible::registerAccessibleInterface(face);
    }
    return QAccessible::accessibleInterface(m_labelIds[label]);
}

int FormCanvasAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (size_t label = 0; label < m_labelIds.size(); ++label)
        if (m_labelIds[label] && QAccessible::accessibleInterface(m_labelIds[label]) == child)
            return widgetChildCount() + int(label);
    return QAccessibleWidget::indexOfChild(child);
}
