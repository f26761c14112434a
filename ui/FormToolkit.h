#pragma once

#include <QString>
#include <cstdint>

#include "Desktop.h"
#include "NumberConversions.h"

// January's box, bar and label are Text2, Line2 and Label2; December's carry 13.
inline constexpr int kFirstMonthBox = 2;
inline constexpr int kLastMonthBox = 13;

// Everything the handlers may do to the window and the desktop around it. Controls are named
// by their number: text box 5 is Text5, line 2 is Line2. The real one drives the Qt window;
// tests may put a recording one in its place.
class FormToolkit {
public:
    virtual ~FormToolkit() = default;

    virtual QString text(int textBox) const = 0;
    virtual void setText(int textBox, const QString& text) = 0;
    virtual void setTextForeColor(int textBox, std::uint32_t bgr) = 0;
    virtual void setTextFontSize(int textBox, float points) = 0;

    virtual void setLineY2(int line, float y2) = 0;
    virtual void setShapeWidth(int shape, float width) = 0;
    virtual void setLabelCaption(int label, const QString& caption) = 0;

    virtual void addItemToList1(const QString& item) = 0;
    virtual int list1SelCount() const = 0;
    virtual QString list1Text() const = 0;
    virtual void setCommand1Enabled(bool enabled) = 0;

    // Prints the client area on the default printer; false when that failed.
    virtual bool printForm() = 0;

    // An empty title stands for the application's own.
    virtual void messageBox(const QString& prompt, MessageStyle style,
                            const QString& title = QString()) = 0;
    virtual void beep() = 0;
    virtual int currentYear() const = 0;
    virtual quilvane::NumberFormat userNumberFormat() const = 0;
};
