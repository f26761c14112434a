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
#include "LayoutFont.h"
#include "LightPalette.h"
#include "ListBox.h"
#include "QtFormToolkit.h"
#include "ScreenPlacement.h"
#include "TextBoxEvents.h"
#include "Twips.h"

namespace {

using form_layout::captionOf;
using form_layout::ControlKind;
using form_layout::LayoutEntry;
using form_layout::nameOf;

// A screen reader reads a month box by the name of its month.
QString accessibleNameOf(const LayoutEntry& entry) {
    if (entry.month) return captionOf(form_layout::monthControl(ControlKind::Label, entry.month));
    return QString::fromUtf8(entry.accessibleName.data(), qsizetype(entry.accessibleName.size()));
}

}  // namespace

Form1::Form1(Desktop& desktop, QWidget* parent)
    // A fixed single border: on Windows a frame that cannot be dragged to resize, which the
    // fixed size alone leaves; other systems ignore the hint and honour the fixed size.
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quilvane"));
    // The layout's fixed colours were chosen for a light face: the window keeps it under any
    // theme, the menu bar and every control with it. Popups and message boxes follow the theme.
    setPalette(lightPalette());
    useLayoutFont();
    buildMenu();
    m_canvas = new FormCanvas(form_layout::controls(), form_layout::kClientWidth,
                              form_layout::kClientHeight, this);
    setCentralWidget(m_canvas);
    buildControls();
    orderTabs();

    m_toolkit = std::make_unique<QtFormToolkit>(*m_canvas, *m_list1, *m_command1, desktop);
    m_handlers = std::make_unique<Form1Handlers>(*m_toolkit);
    connectHandlers();
    m_handlers->form1Load();

    m_list1->setFocus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    centreOnScreen();
}

Form1::~Form1() = default;

// The fixed layout is measured for an 8-point sans with Arial's widths: a wider desktop font
// would cut the month names and push the mean under the blank label.
void Form1::useLayoutFont() {
    setFont(layoutFont());
}

// No access keys: the captions carry no '&'.
void Form1::buildMenu() {
    QMenu* mnuMenu = menuBar()->addMenu(QStringLiteral("Menù"));
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    m_mnuStampa = mnuMenu->addAction(QStringLiteral("Stampa"));
    m_mnuStampa->setObjectName(QStringLiteral("mnuStampa"));
}

// The windowed controls of the layout; the canvas paints the drawn ones beneath them.
void Form1::buildControls() {
    for (const LayoutEntry& entry : form_layout::controls()) {
        if (form_layout::isDrawn(entry.kind)) continue;
        QWidget* control = buildControl(entry);
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
    }
}

QWidget* Form1::buildControl(const LayoutEntry& entry) {
    switch (entry.kind) {
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(m_canvas);
            box->setAccessibleName(accessibleNameOf(entry));
            // A box laid out disabled (Text1, the mean) is shown, but never focused or typed into.
            if (!entry.enabled) {
                box->setFocusPolicy(Qt::NoFocus);
                box->setReadOnly(true);
            }
            // Else the first focus sends a caret move ahead of the focus, and Orca takes that
            // for the arrival and stays silent.
            box->setCursorPosition(0);
            return box;
        }
        case ControlKind::ListBox: {
            m_list1 = new ListBox(m_canvas);
            QPalette palette = m_list1->palette();
            palette.setColor(QPalette::Base, colorFromBgr(entry.backColor));
            m_list1->setPalette(palette);
            m_list1->setAccessibleName(captionOf(*form_layout::find("Label15")).simplified());
            return m_list1;
        }
        case ControlKind::CommandButton:
            m_command1 = new QPushButton(captionOf(entry), m_canvas);
            m_command1->setAutoDefault(true);  // Enter presses it, as Space does
            return m_command1;
        default:
            qFatal("Form1: no windowed control of kind %d", int(entry.kind));
    }
}

// The layout's focus order; controls without one (Text1) stay out of it.
void Form1::orderTabs() {
    std::vector<const LayoutEntry*> tabbable;
    for (const LayoutEntry& entry : form_layout::controls())
        if (!form_layout::isDrawn(entry.kind) && entry.tabIndex != form_layout::kNoIndex)
            tabbable.push_back(&entry);
    std::sort(tabbable.begin(), tabbable.end(),
              [](const LayoutEntry* a, const LayoutEntry* b) { return a->tabIndex < b->tabIndex; });
    for (size_t i = 1; i < tabbable.size(); ++i)
        QWidget::setTabOrder(m_canvas->findChild<QWidget*>(nameOf(*tabbable[i - 1])),
                             m_canvas->findChild<QWidget*>(nameOf(*tabbable[i])));
}

// One handler per control and event: the key filter for every text box, the live bar for the
// month boxes.
void Form1::connectHandlers() {
    Form1Handlers* handlers = m_handlers.get();
    auto* textBoxEvents = new TextBoxEvents(
        [handlers](std::int16_t code) { return handlers->textKeyPress(code); }, this);
    for (const LayoutEntry& entry : form_layout::controls()) {
        if (entry.kind != ControlKind::TextBox) continue;
        auto* box = m_canvas->findChild<QLineEdit*>(nameOf(entry), Qt::FindDirectChildrenOnly);
        textBoxEvents->filterKeys(box);
        if (const int month = entry.month)
            connect(box, &QLineEdit::textChanged, this, [handlers, month](const QString& text) {
                handlers->monthTextChange(month, text);
            });
    }
    connect(m_list1, &ListBox::picked, this, [handlers] { handlers->list1Click(); });
    connect(m_command1, &QPushButton::clicked, this, [handlers] { handlers->command1Click(); });
    connect(m_mnuStampa, &QAction::triggered, this, [handlers] { handlers->mnuStampaClick(); });
    describeForScreenReaders();
}

// What a screen reader says beyond the names: the mean as it is computed, again on the button,
// and the chosen count on the list.
void Form1::describeForScreenReaders() {
    const int meanCaption = m_canvas->indexOf("Label1");
    m_canvas->setLiveLabel(meanCaption);
    QPushButton* command1 = m_command1;
    connect(m_canvas, &FormCanvas::labelCaptionChanged, this,
            [meanCaption, command1](int index, const QString& caption) {
                if (index == meanCaption) command1->setAccessibleDescription(caption);
            });
    ListBox* list1 = m_list1;
    connect(list1, &QListWidget::itemSelectionChanged, this, [list1] {
        const QList<QListWidgetItem*> chosen = list1->selectedItems();
        list1->setAccessibleDescription(chosen.isEmpty() ? QString()
                                                         : QStringLiteral("Mesi scelti: ") +
                                                               chosen.first()->text());
    });
}

void Form1::centreOnScreen() {
    adjustSize();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    move(placeWithin(screen->availableGeometry(), frameGeometry().size()));
}

// Compiled with this file: in a file of its own, it would parse Qt's headers once more.
#include "moc_Form1.cpp"
