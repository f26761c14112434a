#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

#include "Desktop.h"
#include "NumberConversions.h"

// Everything the handlers may do to the window and the desktop around it. Controls are named
// as in the layout ("Text5", "Line2"). The real one drives the Qt window; tests may put a
// recording one in its place.
class FormToolkit {
public:
    // The typed character codes of the KeyPress event; Backspace is the one the key filter
    // lets through besides the digits.
    static constexpr std::int16_t kBackspaceCode = 8;

    virtual ~FormToolkit() = default;

    virtual QString text(std::string_view textBox) const = 0;
    virtual void setText(std::string_view textBox, const QString& text) = 0;
    virtual void setTextForeColor(std::string_view textBox, std::uint32_t bgr) = 0;
    virtual void setTextFontSize(std::string_view textBox, float points) = 0;

    virtual void setLineY2(std::string_view line, float y2) = 0;
    virtual void setShapeWidth(std::string_view shape, float width) = 0;
    virtual void setLabelCaption(std::string_view label, const QString& caption) = 0;

    virtual void addItemToList1(const QString& item) = 0;
    virtual int list1SelCount() const = 0;
    virtual QString list1Text() const = 0;
    virtual void setCommand1Enabled(bool enabled) = 0;

    // Prints the client area on the default printer; false when that failed. Returns when the
    // print is over; the window stays alive meanwhile, its user's input dropped.
    virtual bool printForm() = 0;

    // An empty title stands for the application's own.
    virtual void messageBox(const QString& prompt, MessageStyle style,
                            const QString& title = QString()) = 0;
    virtual void beep() = 0;
    virtual int currentYear() const = 0;
    virtual quilvane::NumberFormat userNumberFormat() const = 0;
};
