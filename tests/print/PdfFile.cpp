#include "PdfFile.h"

#include <QRegularExpression>

#include "PrintFixture.h"

PdfFile::PdfFile(QString path) : m_path(std::move(path)) {}

QString PdfFile::pdfInfo(const QString& field) const {
    const QString info = PrintFixture::output(QStringLiteral("pdfinfo"), {m_path});
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(field),
                                  QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}

int PdfFile::pageCount() const {
    bool ok = false;
    const int pages = pdfInfo(QStringLiteral("Pages")).toInt(&ok);
    return ok ? pages : -1;
}

QSizeF PdfFile::pageSizeInPoints() const {
    const QRegularExpression size(QStringLiteral("^([0-9.]+) x ([0-9.]+) pts"));
    const auto match = size.match(pdfInfo(QStringLiteral("Page size")));
    if (!match.hasMatch()) return {};
    return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

int PdfFile::imageCount() const {
    const QString list =
        PrintFixture::output(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_path});
    // Two heading lines, then one line per image.
    return int(list.split(u'\n', Qt::SkipEmptyParts).size()) - 2;
}

QImage PdfFile::render(int dotsPerInch, const QString& pngPrefix) const {
    if (!PrintFixture::run(
            QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), m_path, pngPrefix})) {
        return {};
    }
    return QImage(pngPrefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}
