#pragma once

#include <QString>

#include "NumberConversions.h"

class PageImage;

// Message boxes keep the flag values of the form's own toolkit.
enum class MessageStyle { OkOnly = 0, Warning = 48 };

// What the form needs from the desktop around its window: dialogs, the beep, the clock,
// the regional number format and the printer. Tests put a recording one in its place.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Modal; returns when the user has dismissed it.
    virtual void showMessage(const QString& prompt, MessageStyle style, const QString& title) = 0;
    virtual void beep() = 0;
    virtual int currentYear() const = 0;
    virtual quilvane::NumberFormat numberFormat() const = 0;
    // Prints the page on the default printer; false when it could not be printed, whatever the
    // cause. The calling thread serves its events until the print is over: the caller decides
    // what its user's input does meanwhile.
    virtual bool printPage(const PageImage& page) = 0;
};
