#include "QtFormToolkit.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QWidget>

#include <utility>

#include "Desktop.h"
#include "FormCanvas.h"
#include "ListBox.h"
#include "PageImage.h"
#include "PrintingWindowGuard.h"
#include "Twips.h"

QtFormToolkit::QtFormToolkit(FormCanvas& canvas, ListBox& list1, QPushButton& command1,
                             Desktop& desktop)
    : m_canvas(canvas),
      m_list1(list1),
      m_command1(command1),
      m_desktop(desktop),
      m_numberFormat(desktop.numberFormat()) {}

QLineEdit& QtFormToolkit::textBox(std::string_view name) const {
    auto* box = m_canvas.findChild<QLineEdit*>(
        QLatin1StringView(name.data(), qsizetype(name.size())), Qt::FindDirectChildrenOnly);
    if (!box) qFatal("no text box %.*s", int(name.size()), name.data());
    return *box;
}

QString QtFormToolkit::text(std::string_view name) const {
    return textBox(name).text();
}

void QtFormToolkit::setText(std::string_view name, const QString& text) {
    textBox(name).setText(text);
}

void QtFormToolkit::setTextForeColor(std::string_view name, std::uint32_t bgr) {
    QLineEdit& box = textBox(name);
    QPalette palette = box.palette();
    // Every colour group: a box out of the user's reach is shown disabled, yet in its colour.
    palette.setColor(QPalette::Text, colorFromBgr(bgr));
    box.setPalette(palette);
}

void QtFormToolkit::setTextFontSize(std::string_view name, float points) {
    QLineEdit& box = textBox(name);
    QFont font = box.font();
    font.setPointSizeF(points);
    box.setFont(font);
}

void QtFormToolkit::setLineY2(std::string_view line, float y2) {
    m_canvas.setLineY2(m_canvas.indexOf(line), y2);
}

void QtFormToolkit::setShapeWidth(std::string_view shape, float width) {
    m_canvas.setShapeWidth(m_canvas.indexOf(shape), width);
}

void QtFormToolkit::setLabelCaption(std::string_view label, const QString& caption) {
    m_canvas.setLabelCaption(m_canvas.indexOf(label), caption);
}

void QtFormToolkit::addItemToList1(const QString& item) {
    m_list1.addItem(item);
}

int QtFormToolkit::list1SelCount() const {
    return int(m_list1.selectionModel()->selectedRows().size());
}

QString QtFormToolkit::list1Text() const {
    const QList<QListWidgetItem*> selected = m_list1.selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void QtFormToolkit::setCommand1Enabled(bool enabled) {
    m_command1.setEnabled(enabled);
}

bool QtFormToolkit::printForm() {
    // Asked again while the window serves its events during a print (not by the user, whose
    // input is dropped): the print under way reports its own result, nothing to say for this.
    if (m_printing) return true;
    bool printed = false;
    bool closeAsked = false;
    {
        const QScopedValueRollback printing(m_printing, true);
        const PrintingWindowGuard guard(*m_canvas.window(), closeAsked);
        FormCanvas* canvas = &m_canvas;
        const PageImage page(canvas->size(),
                             [canvas](QPainter& painter) { canvas->paintClientArea(painter); });
        printed = m_desktop.printPage(page);
    }
    // A close asked for during the print waits for the handler: after a printed page it ends at
    // once; after a failed one it first shows its warning.
    if (closeAsked) {
        if (printed)
            closeWindowSoon();
        else
            m_closeAfterMessage = true;
    }
    return printed;
}

void QtFormToolkit::messageBox(const QString& prompt, MessageStyle style, const QString& title) {
    m_desktop.showMessage(prompt, style, title.isEmpty() ? QStringLiteral("Quilvane") : title);
    if (std::exchange(m_closeAfterMessage, false)) closeWindowSoon();
}

// Queued, so that the handler that asked for it has ended first.
void QtFormToolkit::closeWindowSoon() {
    QMetaObject::invokeMethod(m_canvas.window(), &QWidget::close, Qt::QueuedConnection);
}

void QtFormToolkit::beep() {
    m_desktop.beep();
}

int QtFormToolkit::currentYear() const {
    return m_desktop.currentYear();
}

quilvane::NumberFormat QtFormToolkit::userNumberFormat() const {
    return m_numberFormat;
}
