#pragma once

#include <QString>
#include <QStringList>

// What cups-fixture.sh set up for the print tests on their private print server, and the CUPS
// command line tools to change the test queue's state with. The fixture's folder comes in
// QUILVANE_CUPS_FIXTURE, the server in CUPS_SERVER.
class PrintFixture {
public:
    static constexpr char kSkipCode = 77;

    // Empty when the test queue is in place; otherwise why the print tests cannot run here.
    static QString skipReason();
    static QString queue();
    // A queue that accepts a job but refuses the document sent for it.
    static QString refusingQueue();
    // The cups-pdf device of the test queues, which writes into the fixture's folder.
    static QString deviceUri();
    // Where cups-pdf writes the test queues' PDFs: nothing else writes there.
    static QStringList pdfDirectories();

    // Runs a command line tool, at most 30 seconds; false, with its output as a warning, when
    // it fails.
    static bool run(const QString& program, const QStringList& arguments);
    static QString output(const QString& program, const QStringList& arguments);

    // Puts the queue back as the fixture left it: enabled, accepting jobs from anyone, default.
    static bool restoreQueue();

private:
    static QString stateFile(const QString& name);
};
