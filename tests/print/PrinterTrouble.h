#pragma once

#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>
#include <memory>
#include <optional>

class ScopedCupsServer;

// One thing wrong with printing, made real on the test's print server for as long as this
// object lives; the queue is put back as the fixture left it afterwards.
class PrinterTrouble {
public:
    enum class Kind {
        NoDefaultPrinter,  // the default destination deleted: the server has none
        PrinterDisabled,   // cupsdisable
        QueueRejecting,    // cupsreject
        UserDenied,        // the queue refuses this user's jobs
        DocumentRefused,   // a default queue that lets the job be made but not its page be sent
        ServerNotRunning,  // a socket file with nobody behind it, as a stopped cupsd leaves
        PortClosed,        // a TCP port nobody listens on
        SilentServer,      // a TCP port that takes the connection and never answers
        NoThreads,         // no new thread can be started, as when the process has no room left
    };

    explicit PrinterTrouble(Kind kind);
    ~PrinterTrouble();

    PrinterTrouble(const PrinterTrouble&) = delete;
    PrinterTrouble& operator=(const PrinterTrouble&) = delete;

    // Empty when the trouble is in place; otherwise what could not be arranged.
    QString failure() const { return m_failure; }

private:
    void pointAt(const QByteArray& server);

    QString m_failure;
    QTemporaryDir m_scratch;
    QTcpServer m_silent;
    std::unique_ptr<ScopedCupsServer> m_server;
    std::optional<size_t> m_threadStackSize;
};
