#pragma once

#include <array>
#include <cstdint>

#include "MonthlyMean.h"

class QString;

class FormToolkit;

// The form's event handlers. They keep no state of their own: every value is read back from
// a control when it is needed and every result is written into one.
class Form1Handlers {
public:
    explicit Form1Handlers(FormToolkit& form) : m_form(form) {}

    void form1Load();
    // The KeyPress handler of every text box, which are alike: returns the code the box
    // inserts instead of the typed one.
    std::int16_t textKeyPress(std::int16_t code);
    // The Change handler of a month box (1 is January's), with the box's whole new text.
    void monthTextChange(int month, const QString& text);
    void list1Click();
    void command1Click();
    void mnuStampaClick();

private:
    std::array<QString, quilvane::kMonthCount> monthTexts() const;

    FormToolkit& m_form;
};
