#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <utility>

class Form1;
class QAction;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
class RecordingDesktop;

// A user who does anything at all to the window, drawn from a seeded generator so that a run
// can be replayed: keys of every kind, pastes and drops of nasty texts, clicks and drags,
// focus changes, context menus and printing.
class HostileUser {
public:
    struct Action {
        explicit Action(QString text, bool clickedEnabled = false,
                        std::optional<bool> printerPrints = std::nullopt)
            : description(std::move(text)),
              clickedEnabledCommand(clickedEnabled),
              printed(printerPrints) {}

        QString description;
        // Calcola media: was clicked while enabled, so a mean or a message must follow.
        bool clickedEnabledCommand = false;
        // Set by Stampa: whether the printer was scripted to print the page.
        std::optional<bool> printed;
        // Keys and input method commits that brought characters other than digits and commas
        // into a month box: typing never may, only pasting, dropping and undoing.
        QStringList slipped;
    };

    HostileUser(Form1& form, RecordingDesktop& desktop, std::uint64_t seed);

    // Every step's action depends only on the seed and on the steps before it.
    Action act(qint64 step);

    QLineEdit* monthBox(int month) const { return m_months[size_t(month)]; }

private:
    struct KeyStroke {
        int key = 0;
        QString text;
        Qt::KeyboardModifiers modifiers;
        QString name;
    };

    int below(int bound);
    bool chance(double probability);

    KeyStroke randomKey();
    KeyStroke randomListKey();
    QString send(QWidget* target, const KeyStroke& stroke);
    QString sendStroke(QWidget* target, const KeyStroke& stroke);
    bool isMonthBox(const QWidget* widget) const;
    QWidget* focusedOr(QWidget* fallback) const;
    QPoint pointIn(const QRect& rect);
    void scrollListTo(int row);

    Action typeKeys();
    Action retypeNumber();
    QString retypeNumber(QLineEdit* box);
    Action retypeEveryMonth();
    Action pasteFromClipboard(const QString& text);
    Action putProgramText(const QString& text);
    Action commitInputMethod(const QString& text);
    Action dropText(const QString& text);
    Action clickListItem();
    Action dragOverList();
    Action keyInList();
    Action wheelOverList();
    Action pressCommand();
    Action print();
    Action changeFocus();
    Action mouseInBox();
    Action useContextMenu();
    Action repaintWindow();
    Action withNastyText(qint64 step);
    Action actOnce(qint64 step);
    QString answerOpenMenus();

    Form1& m_form;
    RecordingDesktop& m_desktop;
    std::mt19937_64 m_rng;
    std::array<QLineEdit*, 12> m_months{};
    QListWidget* m_list = nullptr;
    QPushButton* m_command = nullptr;
    QAction* m_print = nullptr;
    QStringList m_slipped;
};
