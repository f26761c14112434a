#pragma once

class QCoreApplication;
class QLocale;
class QString;

// Loads Qt's own texts (the line edits' context menu, the scroll bars' menu, the message boxes'
// buttons) for the locale's languages from Qt's qtbase catalogues in the directory, and makes
// them the application's. Quilvane's own texts are Italian whatever the locale; this only lets
// the toolkit speak the user's language around them. A later call replaces the earlier
// catalogue. Returns whether one was found; when none is, Qt's English stays, silently.
bool installToolkitTranslations(QCoreApplication& application, const QLocale& locale,
                                const QString& directory);
