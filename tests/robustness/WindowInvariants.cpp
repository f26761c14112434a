#include "WindowInvariants.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

#include "Form1.h"
#include "FormCanvas.h"
#include "RecordingDesktop.h"
#include "WindowFigures.h"

namespace {

// Both ends of the chart's bars are clamped to a million twips, so that any value stays
// drawable.
constexpr double kZeroLine = figures::kZeroLineY;
constexpr double kTwipsPerUnit = figures::kTwipsPerUnit;
constexpr double kDrawableLimit = 1.0e6;

const QString kMeanSentence = QStringLiteral("N°di Wolf Medio dell'anno corrente %1 = ");
const QString kPickReminder = QStringLiteral("Bene, hai scelto ");
const QString kTooLarge = QStringLiteral("troppo grandi");
const QString kPrintProblem = QStringLiteral("C'è un problema di stampa!");

bool closeTo(double actual, double expected, double relative) {
    return std::abs(actual - expected) <= relative * std::max(1.0, std::abs(expected));
}

// The mean as Text1 shows it: general form, Italian decimal comma, exponent beyond 15 digits.
std::optional<double> shownNumber(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^-?[0-9]+(,[0-9]+)?(E[+-][0-9]{2,3})?$"));
    if (!form.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = QString(text).replace(u',', u'.').toDouble(&ok);
    if (ok) return value;
    // Written from the largest double, a hair above it: past the range, yet a number.
    return text.startsWith(u'-') ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity();
}

QString geometryText(const DrawnControl& control) {
    const auto& g = control.geometry;
    return QStringLiteral("(%1, %2, %3, %4)").arg(g[0]).arg(g[1]).arg(g[2]).arg(g[3]);
}

}  // namespace

WindowInvariants::WindowInvariants(Form1& form, RecordingDesktop& desktop)
    : m_form(form), m_desktop(desktop), m_canvas(form.canvas()) {
    for (int month = 0; month < 12; ++month)
        m_months[size_t(month)] =
            form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(month + 2));
    m_result = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
    m_list = form.findChild<QListWidget*>(QStringLiteral("List1"));
    m_command = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    m_beeps = desktop.beeps;
    m_messages = desktop.messages.size();
}

std::optional<double> WindowInvariants::plainNumber(const QString& text) {
    static const QRegularExpression plain(
        QStringLiteral("^-?([0-9]{1,15}(,[0-9]{0,15})?|,[0-9]{1,15})$"));
    if (!plain.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = QString(text).replace(u',', u'.').toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QStringList WindowInvariants::check(const HostileUser::Action& action) {
    QStringList problems;
    for (const QString& slipped : action.slipped)
        problems.append(QStringLiteral("typing got past the key filter: ") + slipped);
    const bool beeped = m_desktop.beeps != m_beeps;
    checkBars(problems);
    checkMean(problems, action, beeped);
    checkMessages(problems, m_messages);
    if (action.printed) {
        const bool complained = m_desktop.messages.size() > m_messages &&
                                m_desktop.messages.back().prompt.contains(kPrintProblem);
        if (complained == *action.printed)
            problems.append(*action.printed
                                ? QStringLiteral("the page printed, yet a print problem was shown")
                                : QStringLiteral("the printer failed and nobody was told"));
    }
    checkWindows(problems);
    if (!m_desktop.paintingFault.isEmpty()) problems.append(m_desktop.paintingFault);
    for (size_t i = m_messages; i < m_desktop.messages.size(); ++i)
        if (m_desktop.messages[i].prompt.contains(kTooLarge)) ++m_tooLarge;
    m_beeps = m_desktop.beeps;
    m_messages = m_desktop.messages.size();
    return problems;
}

QString WindowInvariants::summary() const {
    return QStringLiteral(
               "%1 bars and %2 means compared with the boxes, %3 clicks on Calcola "
               "media: answered, %4 too-large warnings")
        .arg(m_barsCompared)
        .arg(m_meansCompared)
        .arg(m_commandsAnswered)
        .arg(m_tooLarge);
}

void WindowInvariants::checkBars(QStringList& problems) const {
    for (int month = 0; month < 12; ++month) {
        const QString name = QStringLiteral("Line%1").arg(month + 2);
        const DrawnControl* bar = m_canvas.drawnControl(name.toStdString());
        if (!bar) {
            problems.append(name + QStringLiteral(" is gone"));
            continue;
        }
        const double y2 = bar->y2();
        if (!std::isfinite(y2) || std::abs(y2) > kDrawableLimit)
            problems.append(QStringLiteral("%1 Y2 is %2, not drawable").arg(name).arg(y2));
        for (int i = 0; i < 3; ++i) {
            if (bar->geometry[size_t(i)] != bar->entry->geometry[size_t(i)])
                problems.append(QStringLiteral("%1 moved to %2; only its top may move")
                                    .arg(name, geometryText(*bar)));
        }
        const QString text = m_months[size_t(month)]->text();
        if (const std::optional<double> value = plainNumber(text)) {
            ++m_barsCompared;
            const double expected = double(float(
                std::clamp(kZeroLine - kTwipsPerUnit * *value, -kDrawableLimit, kDrawableLimit)));
            if (!closeTo(y2, expected, 1e-6))
                problems.append(QStringLiteral("%1 Y2 is %2 but Text%3 shows %4 (expected %5)")
                                    .arg(name)
                                    .arg(y2, 0, 'g', 17)
                                    .arg(month + 2)
                                    .arg(text)
                                    .arg(expected, 0, 'g', 17));
        }
    }
}

void WindowInvariants::checkMean(QStringList& problems, const HostileUser::Action& action,
                                 bool beeped) {
    const DrawnControl* shape = m_canvas.drawnControl("Shape1");
    const DrawnControl* label = m_canvas.drawnControl("Label1");
    if (!shape || !label) {
        problems.append(QStringLiteral("Shape1 or Label1 is gone"));
        return;
    }
    const double width = shape->width();
    if (!std::isfinite(width) || width < 0 || width > kDrawableLimit)
        problems.append(QStringLiteral("Shape1 width is %1, not drawable").arg(width));
    if (shape->geometry[0] != shape->entry->geometry[0] ||
        shape->geometry[1] != shape->entry->geometry[1] ||
        shape->geometry[3] != shape->entry->geometry[3])
        problems.append(QStringLiteral("Shape1 moved to %1; only its width may change")
                            .arg(geometryText(*shape)));

    const QString result = m_result->text();
    if (!result.isEmpty()) {
        const std::optional<double> shown = shownNumber(result);
        if (!shown) {
            problems.append(QStringLiteral("Text1 shows %1, not a number").arg(result));
        } else {
            const double expectedWidth =
                *shown > 0 ? double(float(std::min(kTwipsPerUnit * *shown, kDrawableLimit))) : 0.0;
            if (!closeTo(width, expectedWidth, 1e-6))
                problems.append(QStringLiteral("Shape1 width is %1 but Text1 shows %2")
                                    .arg(width, 0, 'g', 17)
                                    .arg(result));
        }
        const QString sentence = kMeanSentence.arg(m_desktop.year) + result;
        if (label->caption != sentence)
            problems.append(
                QStringLiteral("Label1 reads \"%1\", not \"%2\"").arg(label->caption, sentence));
    }

    const QList<QListWidgetItem*> picked = m_list->selectedItems();
    // The list promises that a selected count stays selected: Calcola media: would otherwise
    // stay enabled with nothing to divide by, and answer nothing.
    if (picked.isEmpty() && m_countEverSelected)
        problems.append(QStringLiteral("List1 lost its selected count"));
    m_countEverSelected = m_countEverSelected || !picked.isEmpty();
    std::optional<double> sum = 0.0;
    for (QLineEdit* box : m_months) {
        const QString text = box->text();
        const std::optional<double> value = text.isEmpty() ? 0.0 : plainNumber(text);
        if (!value) {
            sum.reset();
            break;
        }
        *sum += *value;
    }
    if (beeped && sum && !picked.isEmpty()) {
        ++m_meansCompared;
        const double expected = *sum / picked.first()->text().toDouble();
        const std::optional<double> shown = shownNumber(result);
        if (!shown || !closeTo(*shown, expected, 1e-13))
            problems.append(QStringLiteral("the mean of the boxes over %1 months is %2, yet "
                                           "Text1 shows %3")
                                .arg(picked.first()->text())
                                .arg(expected, 0, 'g', 17)
                                .arg(result));
    }
    if (action.clickedEnabledCommand && !picked.isEmpty()) {
        const bool warned = m_desktop.messages.size() > m_messages &&
                            m_desktop.messages.back().prompt.contains(kTooLarge);
        ++m_commandsAnswered;
        if (!beeped && !warned)
            problems.append(
                QStringLiteral("Calcola media: answered neither with a mean nor "
                               "with a message"));
        if (sum && !beeped)
            problems.append(QStringLiteral("Calcola media: showed no mean for plain numbers"));
    }
}

void WindowInvariants::checkMessages(QStringList& problems, size_t firstNew) {
    const auto& messages = m_desktop.messages;
    std::optional<size_t> lastReminder;
    for (size_t i = firstNew; i < messages.size(); ++i) {
        const QString& message = messages[i].prompt;
        if (message.contains(kPickReminder))
            lastReminder = i;
        else if (!message.contains(kTooLarge) && !message.contains(kPrintProblem))
            problems.append(QStringLiteral("unexpected message \"%1\"").arg(message.left(120)));
    }
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    const QString selectedCount = selected.isEmpty() ? QString() : selected.first()->text();
    if (!lastReminder) {
        // Whatever changed the count, the user was reminded of the one Calcola media: uses.
        if (!selectedCount.isEmpty() && selectedCount != m_remindedCount)
            problems.append(QStringLiteral("List1 has %1 selected, but the last reminder named "
                                           "\"%2\"")
                                .arg(selectedCount, m_remindedCount));
        return;
    }
    // Several keys in one step may pick several counts: the last reminder names the last one.
    const QString& message = messages[*lastReminder].prompt;
    const QString named = message.mid(message.indexOf(kPickReminder) + kPickReminder.size());
    m_remindedCount = selectedCount;
    if (selectedCount.isEmpty() || !named.startsWith(selectedCount + u' '))
        problems.append(QStringLiteral("the reminder \"%1\" does not name the picked count \"%2\"")
                            .arg(message.left(60), selectedCount));
    if (!m_command->isEnabled())
        problems.append(QStringLiteral("a count was picked but Calcola media: is disabled"));
}

void WindowInvariants::checkWindows(QStringList& problems) const {
    if (!m_form.isVisible()) problems.append(QStringLiteral("the window is no longer shown"));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &m_form || !window->isVisible()) continue;
        problems.append(QStringLiteral("a %1 \"%2\" is left open")
                            .arg(QString::fromLatin1(window->metaObject()->className()),
                                 window->windowTitle()));
    }
}
