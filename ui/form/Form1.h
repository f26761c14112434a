#pragma once

#include <QMainWindow>
#include <memory>

class Desktop;
class Form1Handlers;
class FormCanvas;
class FormToolkit;
class ListBox;
class QAction;
class QPushButton;
namespace form_layout {
struct LayoutEntry;
}

// The one window. Its road, event by event:
//  - a character typed into a month box goes through the key filter (digits and Backspace
//    pass, anything else becomes a comma); the box's change then moves that month's bar;
//  - a pick in List1 enables Command1 and shows the reminder about the month count;
//  - Command1 sums the twelve boxes, divides by the count, and shows the mean in Text1, as the
//    width of Shape1 and in Label1's sentence, then beeps;
//  - "Stampa" prints the client area, or says that the printer has a problem.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(Desktop& desktop, QWidget* parent = nullptr);
    ~Form1() override;

    FormCanvas& canvas() const { return *m_canvas; }

private:
    void useLayoutFont();
    void buildMenu();
    void buildControls();
    QWidget* buildControl(const form_layout::LayoutEntry& entry);
    void orderTabs();
    void connectHandlers();
    void describeForScreenReaders();
    void centreOnScreen();

    FormCanvas* m_canvas = nullptr;
    QAction* m_mnuStampa = nullptr;
    ListBox* m_list1 = nullptr;
    QPushButton* m_command1 = nullptr;
    std::unique_ptr<FormToolkit> m_toolkit;
    std::unique_ptr<Form1Handlers> m_handlers;
};
