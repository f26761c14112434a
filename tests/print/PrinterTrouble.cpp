#include "PrinterTrouble.h"

#include <cups/cups.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "PrintFixture.h"
#include "ScopedCupsServer.h"

namespace {

const QString kSpareQueue = QStringLiteral("quilvane_test_spare");

bool lpadmin(const QStringList& arguments) {
    return PrintFixture::run(QStringLiteral("lpadmin"), arguments);
}

// A Unix socket file that nobody listens on: connecting is refused.
QByteArray deadSocket(const QTemporaryDir& dir) {
    const QByteArray path = dir.filePath(QStringLiteral("cups.sock")).toUtf8();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return {};
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
    const bool bound =
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound ? path : QByteArray();
}

QByteArray closedPort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost)) return {};
    const quint16 port = server.serverPort();
    server.close();
    return "127.0.0.1:" + QByteArray::number(port);
}

}  // namespace

PrinterTrouble::PrinterTrouble(Kind kind) {
    const QString queue = PrintFixture::queue();
    bool ok = true;
    switch (kind) {
        case Kind::NoDefaultPrinter:
            // Deleting the default destination leaves the server with none.
            ok = lpadmin({QStringLiteral("-p"), kSpareQueue, QStringLiteral("-v"),
                          PrintFixture::deviceUri(), QStringLiteral("-P"),
                          QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"),
                          QStringLiteral("-E")}) &&
                 lpadmin({QStringLiteral("-d"), kSpareQueue}) &&
                 lpadmin({QStringLiteral("-x"), kSpareQueue});
            break;
        case Kind::PrinterDisabled:
            ok = PrintFixture::run(QStringLiteral("cupsdisable"), {queue});
            break;
        case Kind::QueueRejecting:
            ok = PrintFixture::run(QStringLiteral("cupsreject"), {queue});
            break;
        case Kind::UserDenied:
            ok = lpadmin({QStringLiteral("-p"), queue, QStringLiteral("-u"),
                          QStringLiteral("deny:") + QString::fromUtf8(cupsUser())});
            break;
        case Kind::DocumentRefused:
            ok = lpadmin({QStringLiteral("-d"), PrintFixture::refusingQueue()});
            break;
        case Kind::ServerNotRunning: {
            const QByteArray socket = deadSocket(m_scratch);
            ok = !socket.isEmpty();
            if (ok) pointAt(socket);
            break;
        }
        case Kind::PortClosed: {
            const QByteArray address = closedPort();
            ok = !address.isEmpty();
            if (ok) pointAt(address);
            break;
        }
        case Kind::SilentServer:
            // The kernel completes the connection; nobody ever reads or writes on it.
            ok = m_silent.listen(QHostAddress::LocalHost);
            if (ok) pointAt("127.0.0.1:" + QByteArray::number(m_silent.serverPort()));
            break;
    }
    if (!ok) m_failure = QStringLiteral("could not arrange the trouble");
}

PrinterTrouble::~PrinterTrouble() {
    m_server.reset();
    m_silent.close();
    if (!PrintFixture::restoreQueue()) qWarning("the test queue could not be put back");
}

void PrinterTrouble::pointAt(const QByteArray& server) {
    m_server = std::make_unique<ScopedCupsServer>(server);
}
