#include "ScopedCupsServer.h"

#include <QtGlobal>

#include <cups/cups.h>

ScopedCupsServer::ScopedCupsServer(const QByteArray& server)
    : m_hadPrevious(qEnvironmentVariableIsSet("CUPS_SERVER")), m_previous(qgetenv("CUPS_SERVER")) {
    qputenv("CUPS_SERVER", server);
    forgetServer();
}

ScopedCupsServer::~ScopedCupsServer() {
    if (m_hadPrevious)
        qputenv("CUPS_SERVER", m_previous);
    else
        qunsetenv("CUPS_SERVER");
    forgetServer();
}

void ScopedCupsServer::forgetServer() {
    cupsSetServer(nullptr);
    ippSetPort(0);
}
