#include <QTest>
#include <cstdint>
#include <map>

#include "Form1Handlers.h"
#include "FormToolkit.h"

namespace {

// A form without widgets: it keeps the properties the handlers set and logs every operation,
// so the order the handlers work in can be checked.
class RecordingForm : public FormToolkit {
public:
    static QString named(std::string_view name) {
        return QString::fromLatin1(name.data(), qsizetype(name.size()));
    }

    QString text(std::string_view box) const override {
        log << QStringLiteral("get ") + named(box);
        return texts.value(named(box));
    }
    void setText(std::string_view box, const QString& t) override {
        log << QStringLiteral("set %1 = %2").arg(named(box), t);
        texts[named(box)] = t;
    }
    void setTextForeColor(std::string_view box, std::uint32_t bgr) override {
        log << QStringLiteral("set %1.ForeColor = %2").arg(named(box)).arg(bgr);
    }
    void setTextFontSize(std::string_view box, float points) override {
        log << QStringLiteral("set %1.FontSize = %2").arg(named(box)).arg(points);
    }
    void setLineY2(std::string_view line, float y2) override {
        log << QStringLiteral("set %1.Y2 = %2").arg(named(line)).arg(y2);
    }
    void setShapeWidth(std::string_view shape, float width) override {
        log << QStringLiteral("set %1.Width = %2").arg(named(shape)).arg(width);
    }
    void setLabelCaption(std::string_view label, const QString& caption) override {
        log << QStringLiteral("set %1.Caption = %2").arg(named(label), caption);
    }
    void addItemToList1(const QString& item) override { log << QStringLiteral("AddItem ") + item; }
    int list1SelCount() const override { return selectedCount.isEmpty() ? 0 : 1; }
    QString list1Text() const override { return selectedCount; }
    void setCommand1Enabled(bool enabled) override {
        log << QStringLiteral("set Command1.Enabled = %1").arg(enabled);
    }
    bool printForm() override {
        log << QStringLiteral("PrintForm");
        return printerWorks;
    }
    void messageBox(const QString& prompt, MessageStyle style, const QString& title) override {
        log << QStringLiteral("MsgBox %1 [%2] %3").arg(int(style)).arg(title, prompt.left(20));
    }
    void beep() override { log << QStringLiteral("Beep"); }
    int currentYear() const override { return 1999; }
    quilvane::NumberFormat userNumberFormat() const override { return {u',', u'.'}; }

    QMap<QString, QString> texts;
    QString selectedCount;
    bool printerWorks = true;
    mutable QStringList log;
};

}  // namespace

class Form1HandlersTest : public QObject {
    Q_OBJECT

private slots:
    void loadCollapsesTheBarsThenFillsTheList() {
        RecordingForm form;
        Form1Handlers(form).form1Load();
        QStringList expected;
        for (int line = 2; line <= 13; ++line)
            expected << QStringLiteral("set Line%1.Y2 = 6000").arg(line);
        for (int count = 1; count <= 12; ++count)
            expected << QStringLiteral("AddItem %1").arg(count);
        QCOMPARE(form.log, expected);
    }

    void theMeanWorksInItsOrder() {
        RecordingForm form;
        form.texts = {{"Text2", "10"}, {"Text3", "20"}, {"Text4", "33"}};
        form.selectedCount = "3";
        Form1Handlers(form).command1Click();
        QStringList reads;
        for (int box = 2; box <= 13; ++box) reads << QStringLiteral("get Text%1").arg(box);
        const QStringList expected =
            reads + QStringList{
                        "set Text1 = 21",
                        "get Text1",
                        "set Shape1.Width = 315",
                        "set Text1.ForeColor = 192",
                        "set Text1.FontSize = 10",
                        "get Text1",
                        "set Label1.Caption = N°di Wolf Medio dell'anno corrente 1999 = 21",
                        "Beep",
                    };
        QCOMPARE(form.log, expected);
    }

    void theReminderComesEvenWithoutASelection() {
        RecordingForm form;
        Form1Handlers(form).list1Click();
        QCOMPARE(form.log, QStringList{"MsgBox 0 [] Bene, hai scelto  di"});
        form.log.clear();
        form.selectedCount = "7";
        Form1Handlers(form).list1Click();
        QCOMPARE(form.log,
                 (QStringList{"set Command1.Enabled = 1", "MsgBox 0 [] Bene, hai scelto 7 d"}));
    }

    void printingSaysSoOnlyWhenItFails_data() {
        QTest::addColumn<bool>("printerWorks");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("a printed page says nothing") << true << QStringList{"PrintForm"};
        QTest::newRow("a failure names the printer's state")
            << false
            << QStringList{"PrintForm",
                           "MsgBox 48 [Verificare lo stato della stampante] C'è un problema di s"};
    }
    void printingSaysSoOnlyWhenItFails() {
        QFETCH(bool, printerWorks);
        QFETCH(QStringList, log);
        RecordingForm form;
        form.printerWorks = printerWorks;
        Form1Handlers(form).mnuStampaClick();
        QCOMPARE(form.log, log);
    }

    // Every box has the same key filter; what reaches it is the code the key typed.
    void theKeyFilterPassesDigitsAndBackspaceOnly_data() {
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("inserted");
        QTest::newRow("0 passes") << 48 << 48;
        QTest::newRow("5 passes") << 53 << 53;
        QTest::newRow("9 passes") << 57 << 57;
        QTest::newRow("Backspace passes") << 8 << 8;
        QTest::newRow("a comma stays a comma") << 44 << 44;
        QTest::newRow("a point becomes a comma") << 46 << 44;
        QTest::newRow("a blank becomes a comma") << 32 << 44;
        QTest::newRow("a minus becomes a comma") << 45 << 44;
        QTest::newRow("a plus becomes a comma") << 43 << 44;
        QTest::newRow("E becomes a comma") << 69 << 44;
        QTest::newRow("the slash just below 0 becomes a comma") << 47 << 44;
        QTest::newRow("the colon just above 9 becomes a comma") << 58 << 44;
        QTest::newRow("Delete's code becomes a comma") << 127 << 44;
        QTest::newRow("NUL becomes a comma") << 0 << 44;
        QTest::newRow("-1 becomes a comma") << -1 << 44;
        QTest::newRow("-8 becomes a comma") << -8 << 44;
        QTest::newRow("-48 becomes a comma") << -48 << 44;
        QTest::newRow("the lowest code becomes a comma") << int(INT16_MIN) << 44;
        QTest::newRow("the highest code becomes a comma") << int(INT16_MAX) << 44;
        QTest::newRow("Arabic-Indic 1 becomes a comma") << 0x0661 << 44;
        // Enter, Escape and the Ctrl+letter codes, Ctrl+C, Ctrl+X and Ctrl+V among them.
        QTest::newRow("Enter becomes a comma") << 13 << 44;
        QTest::newRow("Escape becomes a comma") << 27 << 44;
        for (int code = 1; code <= 26; ++code)
            if (code != 8) QTest::addRow("Ctrl+%c becomes a comma", 'A' + code - 1) << code << 44;
    }
    void theKeyFilterPassesDigitsAndBackspaceOnly() {
        QFETCH(int, typed);
        QFETCH(int, inserted);
        RecordingForm form;
        QCOMPARE(int(Form1Handlers(form).textKeyPress(std::int16_t(typed))), inserted);
        QVERIFY2(form.log.isEmpty(), "the key filter touches no control");
    }

    void anEmptyOrUnreadableBoxLeavesItsBar_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("a lone comma") << "," << QStringList{};
        QTest::newRow("pasted letters") << "abc" << QStringList{};
        QTest::newRow("a value") << "2" << QStringList{"set Line5.Y2 = 5850"};
        QTest::newRow("a decimal") << "12,5" << QStringList{"set Line5.Y2 = 5692.5"};
    }
    void anEmptyOrUnreadableBoxLeavesItsBar() {
        QFETCH(QString, text);
        QFETCH(QStringList, log);
        RecordingForm form;
        Form1Handlers(form).monthTextChange(4, text);  // April
        QCOMPARE(form.log, log);
    }
};

QTEST_GUILESS_MAIN(Form1HandlersTest)
#include "Form1HandlersTest.moc"
