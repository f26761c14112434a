#include "QtFormToolkit.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "Desktop.h"
#include "FormCanvas.h"
#include "ListBox.h"
#include "PageImage.h"
#include "Twips.h"

namespace {

const QString kApplicationTitle = QStringLiteral("Quilvane");

template <size_t N>
void indexDrawn(const FormCanvas& canvas, const char* prefix, std::array<int, N>& indices) {
    for (size_t number = 1; number < N; ++number)
        indices[number] = canvas.indexOf(QLatin1StringView(prefix) + QString::number(number));
}

}  // namespace

QtFormToolkit::QtFormToolkit(FormCanvas& canvas,
                             const std::array<QLineEdit*, kTextBoxes + 1>& textBoxes,
                             ListBox& list1, QPushButton& command1, Desktop& desktop)
    : m_canvas(canvas),
      m_textBoxes(textBoxes),
      m_list1(list1),
      m_command1(command1),
      m_desktop(desktop),
      m_numberFormat(desktop.numberFormat()) {
    indexDrawn(canvas, "Line", m_lineIndex);
    indexDrawn(canvas, "Shape", m_shapeIndex);
    indexDrawn(canvas, "Label", m_labelIndex);
}

QString QtFormToolkit::text(int textBox) const {
    return m_textBoxes[size_t(textBox)]->text();
}

void QtFormToolkit::setText(int textBox, const QString& text) {
    m_textBoxes[size_t(textBox)]->setText(text);
}

void QtFormToolkit::setTextForeColor(int textBox, std::uint32_t bgr) {
    QLineEdit* box = m_textBoxes[size_t(textBox)];
    QPalette palette = box->palette();
    // Every colour group: a box out of the user's reach is shown disabled, yet in its colour.
    palette.setColor(QPalette::Text, colorFromBgr(bgr));
    box->setPalette(palette);
}

void QtFormToolkit::setTextFontSize(int textBox, float points) {
    QLineEdit* box = m_textBoxes[size_t(textBox)];
    QFont font = box->font();
    font.setPointSizeF(points);
    box->setFont(font);
}

void QtFormToolkit::setLineY2(int line, float y2) {
    m_canvas.setLineY2(m_lineIndex[size_t(line)], y2);
}

void QtFormToolkit::setShapeWidth(int shape, float width) {
    m_canvas.setShapeWidth(m_shapeIndex[size_t(shape)], width);
}

void QtFormToolkit::setLabelCaption(int label, const QString& caption) {
    m_canvas.setLabelCaption(m_labelIndex[size_t(label)], caption);
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
    FormCanvas* canvas = &m_canvas;
    const PageImage page(canvas->size(),
                         [canvas](QPainter& painter) { canvas->paintClientArea(painter); });
    return m_desktop.printPage(page);
}

void QtFormToolkit::messageBox(const QString& prompt, MessageStyle style, const QString& title) {
    m_desktop.showMessage(prompt, style, title.isEmpty() ? kApplicationTitle : title);
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
