#include "PrintedPdfs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "PrintFixture.h"

PrintedPdfs::PrintedPdfs() {
    const QStringList pdfs = currentPdfs();
    m_before = QSet<QString>(pdfs.begin(), pdfs.end());
}

QStringList PrintedPdfs::currentPdfs() const {
    QStringList pdfs;
    for (const QString& folder : PrintFixture::pdfDirectories()) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.pdf")}, QDir::Files))
            pdfs << dir.filePath(name);
    }
    return pdfs;
}

QStringList PrintedPdfs::waitForQueueToEmpty(std::chrono::seconds limit) {
    QElapsedTimer clock;
    clock.start();
    m_queueEmptied = false;
    while (clock.elapsed() < std::chrono::milliseconds(limit).count()) {
        // Every queue of the private server: a job left on any of them is one too many.
        const QString jobs = PrintFixture::output(QStringLiteral("lpstat"), {QStringLiteral("-o")});
        if (jobs.trimmed().isEmpty()) {
            m_queueEmptied = true;
            break;
        }
        QThread::msleep(200);
    }
    QStringList fresh;
    for (const QString& pdf : currentPdfs())
        if (!m_before.contains(pdf)) fresh << pdf;
    return fresh;
}

QStringList PrintedPdfs::moveInto(const QStringList& pdfs, const QString& folder) {
    QDir().mkpath(folder);
    QStringList moved;
    for (const QString& pdf : pdfs) {
        const QString target = QDir(folder).filePath(QFileInfo(pdf).fileName());
        QFile::remove(target);
        // A rename across file systems fails: copy, then remove.
        if (QFile::rename(pdf, target) || (QFile::copy(pdf, target) && QFile::remove(pdf)))
            moved << target;
        else
            moved << pdf;
    }
    return moved;
}
