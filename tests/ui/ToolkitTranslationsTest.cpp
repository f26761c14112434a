#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "OneTestOfMany.h"
#include "ToolkitTranslations.h"
#include "WindowFixture.h"

// Qt's own texts around the window (the month boxes' editing menu, the list's scroll bar menu)
// follow the locale given; Quilvane's own stay Italian.
class ToolkitTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void menusSpeakTheLocalesLanguage_data();
    void menusSpeakTheLocalesLanguage();
    void withoutCataloguesTheWindowStartsInEnglishAndWorks();
    void aRightToLeftLanguageLeavesTheWindowLeftToRight();
    void cleanup();

private:
    QTemporaryDir m_emptyDirectory;
};

namespace {

QString catalogues() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool hasCatalogue(const QString& language) {
    return QFile::exists(catalogues() + QStringLiteral("/qtbase_%1.qm").arg(language));
}

// What the user reads: no mnemonic marks, no shortcut column, no separators.
QStringList shownTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        QString text = action->text().section(u'\t', 0, 0);
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&');
        texts << text.replace(u'\x01', u'&');
    }
    return texts;
}

QStringList monthBoxMenu(const WindowFixture& window) {
    const std::unique_ptr<QMenu> menu(window.box(2)->createStandardContextMenu());
    return shownTexts(*menu);
}

// The scroll bar builds its menu only on a right-click and runs it modally: read it from inside
// that run, then close it.
QStringList scrollBarMenu(QScrollBar& bar) {
    auto texts = std::make_shared<QStringList>();
    QTimer::singleShot(0, [texts] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            *texts = shownTexts(*menu);
            menu->close();
        }
    });
    const QPoint point(bar.width() / 2, bar.height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, bar.mapToGlobal(point));
    QApplication::sendEvent(&bar, &event);
    return *texts;
}

}  // namespace

void ToolkitTranslationsTest::menusSpeakTheLocalesLanguage_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("boxMenu");
    QTest::addColumn<QStringList>("scrollBarMenu");

    QTest::newRow("an Italian user reads Italian menus")
        << "it_IT" << QStringList{"Annulla", "Rifai",   "Taglia",         "Copia",
                                  "Incolla", "Elimina", "Seleziona tutto"}
        << QStringList{"Scorri qui", "Cima",           "Fondo",          "Pagina su",
                       "Pagina giù", "Scorri in alto", "Scorri in basso"};
    QTest::newRow("a French user reads French ones")
        << "fr_FR" << QStringList{"Annuler", "Rétablir",  "Couper",           "Copier",
                                  "Coller",  "Supprimer", "Tout sélectionner"}
        << QStringList{"Défiler jusqu'ici",  "Haut",          "Bas",
                       "Page précédente",    "Page suivante", "Défiler vers le haut",
                       "Défiler vers le bas"};
    QTest::newRow("an American user reads English ones")
        << "en_US" << QStringList{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"}
        << QStringList{"Scroll here", "Top",       "Bottom",     "Page up",
                       "Page down",   "Scroll up", "Scroll down"};
}

void ToolkitTranslationsTest::menusSpeakTheLocalesLanguage() {
    QFETCH(QString, locale);
    QFETCH(QStringList, boxMenu);
    QFETCH(QStringList, scrollBarMenu);
    const QString language = locale.section(u'_', 0, 0);
    if (language != u"en" && !hasCatalogue(language))
        QSKIP("Qt's translations are not installed (Debian: qt6-translations-l10n)");

    QVERIFY(installToolkitTranslations(*qApp, QLocale(locale), catalogues()));
    WindowFixture window;

    const QStringList shownInBox = monthBoxMenu(window);
    QCOMPARE(shownInBox, boxMenu);
    if (language != u"en") {
        for (const QString english :
             {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"})
            QVERIFY2(!shownInBox.contains(english), qPrintable(english + " is still English"));
    }

    QScrollBar* bar = window.list()->verticalScrollBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(::scrollBarMenu(*bar), scrollBarMenu);

    // Quilvane's own texts do not follow.
    QCOMPARE(window.form->windowTitle(), QStringLiteral("Quilvane"));
    QCOMPARE(window.form->menuBar()->actions().value(0)->text(), QStringLiteral("Menù"));
}

void ToolkitTranslationsTest::withoutCataloguesTheWindowStartsInEnglishAndWorks() {
    QVERIFY(m_emptyDirectory.isValid());
    // An Italian catalogue loaded before is replaced, not kept.
    if (hasCatalogue(QStringLiteral("it")))
        QVERIFY(installToolkitTranslations(*qApp, QLocale(QStringLiteral("it_IT")), catalogues()));

    QVERIFY(!installToolkitTranslations(*qApp, QLocale(QStringLiteral("it_IT")),
                                        m_emptyDirectory.path()));
    WindowFixture window;
    QVERIFY(window.form->isVisible());
    QCOMPARE(monthBoxMenu(window).value(0), QStringLiteral("Undo"));

    window.type(1, QStringLiteral("45"));
    QCOMPARE(window.box(2)->text(), QStringLiteral("45"));
    QCOMPARE(window.barTop(1), 5880.0 - 15 * 45);
}

void ToolkitTranslationsTest::aRightToLeftLanguageLeavesTheWindowLeftToRight() {
    if (!hasCatalogue(QStringLiteral("he")))
        QSKIP("Qt's translations are not installed (Debian: qt6-translations-l10n)");

    QVERIFY(installToolkitTranslations(*qApp, QLocale(QStringLiteral("he_IL")), catalogues()));
    QCoreApplication::processEvents();  // the language change is posted
    WindowFixture window;

    QVERIFY(monthBoxMenu(window).value(0) != QStringLiteral("Undo"));
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    QCOMPARE(window.form->layoutDirection(), Qt::LeftToRight);
    QCOMPARE(window.box(2)->layoutDirection(), Qt::LeftToRight);
}

void ToolkitTranslationsTest::cleanup() {
    installToolkitTranslations(*qApp, QLocale::c(), m_emptyDirectory.path());
    QCoreApplication::processEvents();
}

QUILVANE_TEST_MAIN(ToolkitTranslationsTest)
#include "ToolkitTranslationsTest.moc"
