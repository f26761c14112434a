#pragma once

#include <QByteArray>

// Points this process's CUPS client at another print server, as CUPS_SERVER does for a program
// started with it, until destroyed. libcups keeps the server it looked up first, so both ends
// make it look again.
class ScopedCupsServer {
public:
    explicit ScopedCupsServer(const QByteArray& server);
    ~ScopedCupsServer();

    ScopedCupsServer(const ScopedCupsServer&) = delete;
    ScopedCupsServer& operator=(const ScopedCupsServer&) = delete;

private:
    static void forgetServer();

    bool m_hadPrevious;
    QByteArray m_previous;
};
