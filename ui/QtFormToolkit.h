#pragma once

#include <array>

#include "FormToolkit.h"

class Desktop;
class FormCanvas;
class ListBox;
class QLineEdit;
class QPushButton;

// The form's operations on the real Qt widgets; dialogs, beep, clock, locale and printing are
// passed on to the desktop.
class QtFormToolkit : public FormToolkit {
public:
    static constexpr int kTextBoxes = 13;
    static constexpr int kLines = 48;
    static constexpr int kShapes = 3;
    static constexpr int kLabels = 15;

    QtFormToolkit(FormCanvas& canvas, const std::array<QLineEdit*, kTextBoxes + 1>& textBoxes,
                  ListBox& list1, QPushButton& command1, Desktop& desktop);

    QString text(int textBox) const override;
    void setText(int textBox, const QString& text) override;
    void setTextForeColor(int textBox, std::uint32_t bgr) override;
    void setTextFontSize(int textBox, float points) override;

    void setLineY2(int line, float y2) override;
    void setShapeWidth(int shape, float width) override;
    void setLabelCaption(int label, const QString& caption) override;

    void addItemToList1(const QString& item) override;
    int list1SelCount() const override;
    QString list1Text() const override;
    void setCommand1Enabled(bool enabled) override;

    bool printForm() override;
    void messageBox(const QString& prompt, MessageStyle style, const QString& title) override;
    void beep() override;
    int currentYear() const override;
    quilvane::NumberFormat userNumberFormat() const override;

private:
    FormCanvas& m_canvas;
    std::array<QLineEdit*, kTextBoxes + 1> m_textBoxes;  // [0] unused: Text1 is [1]
    std::array<int, kLines + 1> m_lineIndex{};
    std::array<int, kShapes + 1> m_shapeIndex{};
    std::array<int, kLabels + 1> m_labelIndex{};
    ListBox& m_list1;
    QPushButton& m_command1;
    Desktop& m_desktop;
    // Read once: the process keeps the locale it started with, and every keystroke needs it.
    const quilvane::NumberFormat m_numberFormat;
};
