#pragma once

#include <cstdint>

class QString;

class FormToolkit;

// The form's event handlers. They keep no state of their own: every value is read back from
// a control when it is needed and every result is written into one.
class Form1Handlers {
public:
    // The one control code the key filter lets through, and the box acts on.
    static constexpr std::int16_t kBackspaceCode = 8;

    explicit Form1Handlers(FormToolkit& form) : m_form(form) {}

    void form1Load();
    // The KeyPress handler of every text box, which are alike: returns the code the box
    // inserts instead of the typed one.
    std::int16_t textKeyPress(std::int16_t code);
    // The Change handler of a month box, with the box's whole new text.
    void monthTextChange(int textBox, const QString& text);
    void list1Click();
    void command1Click();
    void mnuStampaClick();

private:
    FormToolkit& m_form;
};
