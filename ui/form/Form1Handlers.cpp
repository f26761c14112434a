#include "Form1Handlers.h"

#include <string_view>

#include "ChartScale.h"
#include "FormLayout.h"
#include "FormToolkit.h"

namespace {

constexpr std::string_view kResultBox = "Text1";
constexpr std::string_view kMeanBar = "Shape1";
constexpr std::string_view kMeanCaption = "Label1";
constexpr std::uint32_t kDarkRed = 192;
constexpr float kResultFontSize = 10.0f;
constexpr std::int16_t kCommaCode = 44;

std::u16string_view view(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())};
}

}  // namespace

void Form1Handlers::form1Load() {
    for (int month = 1; month <= quilvane::kMonthCount; ++month)
        m_form.setLineY2(form_layout::monthControl(form_layout::ControlKind::Line, month).name,
                         float(quilvane::chart::kBarFootY));
    for (int count = 1; count <= quilvane::kMonthCount; ++count)
        m_form.addItemToList1(QString::number(count));
}

// Digits and Backspace pass; every other typed character becomes a comma, the one separator
// the number boxes know.
std::int16_t Form1Handlers::textKeyPress(std::int16_t code) {
    if ((code >= '0' && code <= '9') || code == FormToolkit::kBackspaceCode) return code;
    return kCommaCode;
}

void Form1Handlers::monthTextChange(int month, const QString& text) {
    if (text.isEmpty()) return;
    // A text that is no number here (a lone comma, pasted letters) leaves the bar where it is.
    const auto value = quilvane::LocaleNumber(view(text), m_form.userNumberFormat());
    if (!value) return;
    m_form.setLineY2(form_layout::monthControl(form_layout::ControlKind::Line, month).name,
                     quilvane::chart::barTopForValue(*value));
}

void Form1Handlers::list1Click() {
    if (m_form.list1SelCount() != 0) m_form.setCommand1Enabled(true);
    const QString prompt = QStringLiteral("Bene, hai scelto ") + m_form.list1Text() +
                           QStringLiteral(" ") +
                           QStringLiteral(
                               "di mesi. Ricordati che il numero selezionato deve coincidere con "
                               "il numero dei mesi che si andrà a sottoporre al calcolo della "
                               "Media.   (altrimenti si ha un calcolo errato)");
    m_form.messageBox(prompt, MessageStyle::OkOnly);
}

void Form1Handlers::command1Click() {
    const quilvane::NumberFormat format = m_form.userNumberFormat();
    const std::array<QString, quilvane::kMonthCount> texts = monthTexts();
    std::array<std::u16string_view, quilvane::kMonthCount> monthViews;
    for (size_t month = 0; month < texts.size(); ++month) monthViews[month] = view(texts[month]);
    const QString countText = m_form.list1Text();
    const quilvane::MeanResult result = quilvane::meanOfMonths(monthViews, view(countText), format);
    if (result.failure == quilvane::MeanFailure::SumOutOfRange) {
        m_form.messageBox(QStringLiteral("I valori inseriti sono troppo grandi per calcolarne la "
                                         "media."),
                          MessageStyle::Warning);
        return;
    }
    if (result.failure) return;  // no count picked yet: nothing to divide by

    m_form.setText(kResultBox,
                   QString::fromStdU16String(quilvane::NumberText(result.mean, format)));
    // The bar follows the text shown, not the unrounded mean.
    const auto shown = quilvane::LocaleNumber(view(m_form.text(kResultBox)), format);
    m_form.setShapeWidth(kMeanBar, quilvane::chart::meanBarWidth(shown.value_or(result.mean)));
    m_form.setTextForeColor(kResultBox, kDarkRed);
    m_form.setTextFontSize(kResultBox, kResultFontSize);
    m_form.setLabelCaption(
        kMeanCaption, QStringLiteral("N°di Wolf Medio dell'anno corrente") + QStringLiteral(" ") +
                          QString::number(m_form.currentYear()) + QStringLiteral(" =") +
                          QStringLiteral(" ") + m_form.text(kResultBox));
    m_form.beep();
}

// January first.
std::array<QString, quilvane::kMonthCount> Form1Handlers::monthTexts() const {
    std::array<QString, quilvane::kMonthCount> texts;
    for (int month = 1; month <= quilvane::kMonthCount; ++month)
        texts[size_t(month - 1)] =
            m_form.text(form_layout::monthControl(form_layout::ControlKind::TextBox, month).name);
    return texts;
}

void Form1Handlers::mnuStampaClick() {
    if (!m_form.printForm())
        m_form.messageBox(QStringLiteral("C'è un problema di stampa!"), MessageStyle::Warning,
                          QStringLiteral("Verificare lo stato della stampante"));
}
