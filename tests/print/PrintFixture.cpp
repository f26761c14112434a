#include "PrintFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtGlobal>

namespace {

QString readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

}  // namespace

QString PrintFixture::stateFile(const QString& name) {
    return QDir(qEnvironmentVariable("QUILVANE_CUPS_FIXTURE")).filePath(name);
}

QString PrintFixture::skipReason() {
    // Without its private server a test would print on the machine's own printers.
    if (qEnvironmentVariableIsEmpty("QUILVANE_CUPS_FIXTURE") ||
        qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        return QStringLiteral("run through ctest: the cups-fixture set-up has not run");
    const QString reason = readFile(stateFile(QStringLiteral("skip-reason")));
    if (!reason.isEmpty()) return reason;
    if (queue().isEmpty()) return QStringLiteral("the cups-fixture set-up added no queue");
    return {};
}

QString PrintFixture::queue() {
    return readFile(stateFile(QStringLiteral("queue")));
}

QString PrintFixture::refusingQueue() {
    return readFile(stateFile(QStringLiteral("refusing-queue")));
}

QString PrintFixture::deviceUri() {
    return readFile(stateFile(QStringLiteral("device-uri")));
}

QStringList PrintFixture::pdfDirectories() {
    return readFile(stateFile(QStringLiteral("pdf-dirs"))).split(u'\n', Qt::SkipEmptyParts);
}

QString PrintFixture::output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(process.readAll());
}

bool PrintFixture::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(30000);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    const bool ok =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok) {
        qWarning("%s %s failed: %s", qUtf8Printable(program), qUtf8Printable(arguments.join(u' ')),
                 process.readAll().constData());
    }
    return ok;
}

bool PrintFixture::restoreQueue() {
    const QString name = queue();
    // First: a denied user may not even enable the queue.
    bool ok = run(QStringLiteral("lpadmin"),
                  {QStringLiteral("-p"), name, QStringLiteral("-u"), QStringLiteral("allow:all")});
    ok = run(QStringLiteral("cupsenable"), {name}) && ok;
    ok = run(QStringLiteral("cupsaccept"), {name}) && ok;
    ok = run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}) && ok;
    return ok;
}
