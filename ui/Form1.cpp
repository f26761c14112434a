#include "Form1.h"

#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "Form1Handlers.h"
#include "FormCanvas.h"
#include "FormLayout.h"
#include "KeyPressFilter.h"
#include "ListBox.h"
#include "QtFormToolkit.h"
#include "ScreenPlacement.h"
#include "Twips.h"

namespace {

using form_layout::captionOf;
using form_layout::ControlKind;
using form_layout::LayoutEntry;
using form_layout::nameOf;

int numberIn(const LayoutEntry& entry, std::string_view prefix) {
    return nameOf(entry).mid(qsizetype(prefix.size())).toInt();
}

// A screen reader reads a month box by the name of its month.
QString monthLabelCaption(int textBox) {
    const std::string name = "Label" + std::to_string(textBox);
    const LayoutEntry* label = form_layout::find(name);
    return label ? captionOf(*label) : QString();
}

}  // namespace

Form1::Form1(Desktop& desktop, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quilvane"));
    // The fixed layout is measured for an 8-point sans with Arial's widths: a wider desktop
    // font would cut the month names and push the mean under the blank label.
    QFont windowFont(QStringLiteral("Liberation Sans"));
    windowFont.setStyleHint(QFont::SansSerif);
    windowFont.setPointSizeF(8.0);
    setFont(windowFont);

    // No access keys: the captions carry no '&'.
    QMenu* mnuMenu = menuBar()->addMenu(QStringLiteral("Menù"));
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    QAction* mnuStampa = mnuMenu->addAction(QStringLiteral("Stampa"));
    mnuStampa->setObjectName(QStringLiteral("mnuStampa"));

    m_canvas = new FormCanvas(this);
    setCentralWidget(m_canvas);

    std::array<QLineEdit*, QtFormToolkit::kTextBoxes + 1> textBoxes{};
    ListBox* list1 = nullptr;
    QPushButton* command1 = nullptr;
    std::vector<std::pair<int, QWidget*>> tabOrder;

    for (const LayoutEntry& entry : form_layout::controls()) {
        if (form_layout::isDrawn(entry.kind)) continue;
        QWidget* control = nullptr;
        switch (entry.kind) {
            case ControlKind::TextBox: {
                auto* box = new QLineEdit(m_canvas);
                const int number = numberIn(entry, "Text");
                textBoxes[size_t(number)] = box;
                if (number >= kFirstMonthBox) box->setAccessibleName(monthLabelCaption(number));
                control = box;
                break;
            }
            case ControlKind::ListBox: {
                list1 = new ListBox(m_canvas);
                QPalette palette = list1->palette();
                palette.setColor(QPalette::Base, colorFromBgr(entry.backColor));
                list1->setPalette(palette);
                list1->setAccessibleName(captionOf(*form_layout::find("Label15")).simplified());
                control = list1;
                break;
            }
            case ControlKind::CommandButton:
                command1 = new QPushButton(captionOf(entry), m_canvas);
                command1->setAutoDefault(true);  // Enter presses it, as Space does
                control = command1;
                break;
            default:
                break;
        }
        control->setObjectName(nameOf(entry));
        control->setGeometry(twips::toPixels(entry.geometry[0], entry.geometry[1],
                                             entry.geometry[2], entry.geometry[3])
                                 .toRect());
        control->setEnabled(entry.enabled);
        if (entry.foreColor != form_layout::kDefaultColor) {
            QPalette palette = control->palette();
            palette.setColor(QPalette::Text, colorFromBgr(entry.foreColor));
            control->setPalette(palette);
        }
        tabOrder.emplace_back(entry.tabIndex, control);
    }

    // Text1 holds the mean for the handlers only: shown, but never focused or typed into.
    textBoxes[1]->setFocusPolicy(Qt::NoFocus);
    textBoxes[1]->setReadOnly(true);
    textBoxes[1]->setAccessibleName(QStringLiteral("Media"));

    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    m_toolkit = std::make_unique<QtFormToolkit>(*m_canvas, textBoxes, *list1, *command1, desktop);
    m_handlers = std::make_unique<Form1Handlers>(*m_toolkit);
    Form1Handlers* handlers = m_handlers.get();

    auto* keyFilter = new KeyPressFilter(
        [handlers](int textBox, std::int16_t code) {
            return handlers->textKeyPress(textBox, code);
        },
        this);
    for (int number = 1; number <= QtFormToolkit::kTextBoxes; ++number)
        keyFilter->watch(textBoxes[size_t(number)], number);
    for (int number = kFirstMonthBox; number <= kLastMonthBox; ++number)
        connect(textBoxes[size_t(number)], &QLineEdit::textChanged, this,
                [handlers, number] { handlers->monthTextChange(number); });
    connect(list1, &ListBox::picked, this, [handlers] { handlers->list1Click(); });
    connect(command1, &QPushButton::clicked, this, [handlers] { handlers->command1Click(); });
    connect(mnuStampa, &QAction::triggered, this, [handlers] { handlers->mnuStampaClick(); });

    handlers->form1Load();

    list1->setFocus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    centreOnScreen();
}

Form1::~Form1() = default;

void Form1::centreOnScreen() {
    adjustSize();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    move(placeWithin(screen->availableGeometry(), frameGeometry().size()));
}
