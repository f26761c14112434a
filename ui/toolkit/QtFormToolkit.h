#pragma once

#include "FormToolkit.h"

class Desktop;
class FormCanvas;
class ListBox;
class QLineEdit;
class QPushButton;

// The form's operations on the real Qt widgets, found by their names among the client area's
// children; dialogs, beep, clock, locale and printing are passed on to the desktop.
class QtFormToolkit : public FormToolkit {
public:
    QtFormToolkit(FormCanvas& canvas, ListBox& list1, QPushButton& command1, Desktop& desktop);

    QString text(std::string_view textBox) const override;
    void setText(std::string_view textBox, const QString& text) override;
    void setTextForeColor(std::string_view textBox, std::uint32_t bgr) override;
    void setTextFontSize(std::string_view textBox, float points) override;

    void setLineY2(std::string_view line, float y2) override;
    void setShapeWidth(std::string_view shape, float width) override;
    void setLabelCaption(std::string_view label, const QString& caption) override;

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
    QLineEdit& textBox(std::string_view name) const;
    void closeWindowSoon();

    FormCanvas& m_canvas;
    ListBox& m_list1;
    QPushButton& m_command1;
    Desktop& m_desktop;
    // Read once: the process keeps the locale it started with, and every keystroke needs it.
    const quilvane::NumberFormat m_numberFormat;
    // The window goes on serving its events during a print: one print at a time.
    bool m_printing = false;
    // The window was asked to close during a print that failed: it closes after the warning.
    bool m_closeAfterMessage = false;
};
