#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <chrono>

// The PDFs that the test queue's cups-pdf backend writes after this object is made.
class PrintedPdfs {
public:
    PrintedPdfs();

    // Waits until the test server has no job left, then gives the PDFs written since the start.
    // Gives whatever is there when the time limit comes first.
    QStringList waitForQueueToEmpty(std::chrono::seconds limit = std::chrono::seconds(90));
    // Whether the queue emptied within the limit of the last wait.
    bool queueEmptied() const { return m_queueEmptied; }

    // Moves each new PDF out of cups-pdf's folder into folder, where a failed test's sheets
    // stay to be looked at. Returns the new paths.
    static QStringList moveInto(const QStringList& pdfs, const QString& folder);

private:
    QStringList currentPdfs() const;

    QSet<QString> m_before;
    bool m_queueEmptied = false;
};
