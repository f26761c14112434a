#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

// A PDF as poppler's command line tools see it.
class PdfFile {
public:
    explicit PdfFile(QString path);

    int pageCount() const;
    QSizeF pageSizeInPoints() const;
    // Raster images embedded in it: none when everything was drawn as vectors.
    int imageCount() const;
    // The first page at the given resolution; null when poppler cannot read it.
    QImage render(int dotsPerInch, const QString& pngPrefix) const;

private:
    QString pdfInfo(const QString& field) const;

    QString m_path;
};
