#include "PrinterTrouble.h"

#include <cups/cups.h>

#include <pthread.h>
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

// New threads get a stack far larger than any memory: none can be created.
std::optional<size_t> exhaustThreads() {
    pthread_attr_t attributes;
    size_t usual = 0;
    if (pthread_getattr_default_np(&attributes) != 0) return std::nullopt;
    const bool read = pthread_attr_getstacksize(&attributes, &usual) == 0;
    const bool set = read && pthread_attr_setstacksize(&attributes, size_t(1) << 46) == 0 &&
                     pthread_setattr_default_np(&attributes) == 0;
    pthread_attr_destroy(&attributes);
    return set ? std::optional(usual) : std::nullopt;
}

void restoreThreads(size_t stackSize) {
    pthread_attr_t attributes;
    if (pthread_getattr_default_np(&attributes) != 0) return;
    pthread_attr_setstacksize(&attributes, stackSize);
    pthread_setattr_default_np(&attributes);
    pthread_attr_destroy(&attributes);
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
        case Kind::NoThreads:
            m_threadStackSize = exhaustThreads();
            ok = m_threadStackSize.has_value();
            break;
    }
    if (!ok) m_failure = QStringLiteral("could not arrange the trouble");
}

PrinterTrouble::~PrinterTrouble() {
    if (m_threadStackSize) restoreThreads(*m_threadStackSize);
    m_server.reset();
    m_silent.close();
    if (!PrintFixture::restoreQueue()) qWarning("the test queue could not be put back");
}

void PrinterTrouble::pointAt(const QByteArray& server) {
    m_server = std::make_unique<ScopedCupsServer>(server);
}
