#pragma once

#include <QStringList>
#include <array>
#include <optional>

#include "HostileUser.h"

class Form1;
class FormCanvas;
class QLineEdit;
class QListWidget;
class QPushButton;
class RecordingDesktop;

// What must hold after anything a user did: bars and the mean bar drawable and in step with
// the boxes, the mean shown as a number and repeated in its sentence, every message one the
// program means to show, and no dialog left on the screen.
class WindowInvariants {
public:
    WindowInvariants(Form1& form, RecordingDesktop& desktop);

    // Everything that is wrong after the action, or nothing.
    QStringList check(const HostileUser::Action& action);

    // A box text any reader takes for the same number: optional minus, digits, one comma.
    static std::optional<double> plainNumber(const QString& text);

    // How often the checks could compare with what a plain reading of the boxes expects.
    QString summary() const;

private:
    void checkBars(QStringList& problems) const;
    void checkMean(QStringList& problems, const HostileUser::Action& action, bool beeped);
    void checkMessages(QStringList& problems, size_t firstNew);
    void checkWindows(QStringList& problems) const;

    Form1& m_form;
    RecordingDesktop& m_desktop;
    const FormCanvas& m_canvas;
    std::array<QLineEdit*, 12> m_months{};
    QLineEdit* m_result = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_command = nullptr;
    bool m_countEverSelected = false;
    QString m_remindedCount;
    int m_beeps = 0;
    size_t m_messages = 0;
    mutable qint64 m_barsCompared = 0;
    mutable qint64 m_meansCompared = 0;
    mutable qint64 m_commandsAnswered = 0;
    qint64 m_tooLarge = 0;
};
