#pragma once

#include <cstdint>

class FormToolkit;

// The form's event handlers. They keep no state of their own: every value is read back from
// a control when it is needed and every result is written into one.
class Form1Handlers {
public:
    explicit Form1Handlers(FormToolkit& form) : m_form(form) {}

    void form1Load();
    // Returns the code the box inserts instead of the typed one.
    std::int16_t textKeyPress(int textBox, std::int16_t code);
    void monthTextChange(int textBox);
    void list1Click();
    void command1Click();
    void mnuStampaClick();

private:
    FormToolkit& m_form;
};
