#include "NastyText.h"

#include <array>

namespace nasty_text {

namespace {

int below(std::mt19937_64& rng, int bound) {
    return std::uniform_int_distribution<int>(0, bound - 1)(rng);
}

QString digits(std::mt19937_64& rng, qsizetype count) {
    QString out;
    out.reserve(count);
    for (qsizetype i = 0; i < count; ++i) out.append(QChar(u'0' + below(rng, 10)));
    return out;
}

// Random strings over the characters a number reader has to be careful about.
QString soup(std::mt19937_64& rng) {
    static const QString alphabet =
        QStringLiteral("0123456789,,,..--++eEdD&HhOo  \t\n\u00A0\u202F\u200F\u202E%$xX");
    QString out;
    const int length = below(rng, 40);
    for (int i = 0; i < length; ++i) out.append(alphabet.at(below(rng, int(alphabet.size()))));
    return out;
}

QString anyCharacters(std::mt19937_64& rng) {
    QString out;
    const int length = 1 + below(rng, 8);
    for (int i = 0; i < length; ++i) out.append(QChar(char16_t(below(rng, 0x10000))));
    return out;
}

}  // namespace

QString pick(std::mt19937_64& rng) {
    static const std::array<QString, 72> fixed = {
        QString(),
        QStringLiteral(" "),
        QStringLiteral("\t \n"),
        QStringLiteral("-"),
        QStringLiteral("+"),
        QStringLiteral("1e400"),
        QStringLiteral("-1e400"),
        QStringLiteral("1e308"),
        QStringLiteral("1,79769313486232E+308"),
        QStringLiteral("1,79769313486233E+308"),
        QStringLiteral("-1,79769313486232E+308"),
        QStringLiteral("4,94065645841247E-324"),
        QStringLiteral("1e-400"),
        QStringLiteral("1E+99999999999999999999999"),
        QStringLiteral("1E-99999999999999999999999"),
        QStringLiteral("&HFFFFFFFFFFFFFFFFFFFF"),
        QStringLiteral(
            "&HFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"
            "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"
            "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"),
        QStringLiteral("&H"),
        QStringLiteral("&O7777777777777777777777777"),
        QStringLiteral("&h1f"),
        QStringLiteral("&"),
        QStringLiteral("NaN"),
        QStringLiteral("nan"),
        QStringLiteral("inf"),
        QStringLiteral("-inf"),
        QStringLiteral("Infinity"),
        QStringLiteral("INF"),
        QStringLiteral("-50"),
        QStringLiteral("-0"),
        QStringLiteral("0"),
        QStringLiteral("12,5"),
        QStringLiteral("1.234,5"),
        QStringLiteral("1.234.567"),
        QStringLiteral("1.23"),
        QStringLiteral(","),
        QStringLiteral("1,,2"),
        QStringLiteral(",,"),
        QStringLiteral("1,2,3"),
        QStringLiteral(", 5"),
        QStringLiteral(" 5 "),
        QStringLiteral("5\u00A0000"),
        QStringLiteral("\u202F"),
        QString(QChar(0)),
        QString::fromUtf16(u"12\u0000"
                           "34",
                           5),
        QStringLiteral("\u200F12"),
        QStringLiteral("\u202E12,5"),
        QStringLiteral("\u0661\u0662\u0663"),
        QStringLiteral("\uFF11\uFF12"),
        QStringLiteral("\U0001F600"),
        QString(QChar(char16_t(0xD800))),
        QString(QChar(char16_t(0xDFFF))) + QStringLiteral("1"),
        QStringLiteral("\uFFFF"),
        QStringLiteral("\uFEFF12"),
        QStringLiteral("12e"),
        QStringLiteral("12e+"),
        QStringLiteral("1e5"),
        QStringLiteral("1E-5"),
        QStringLiteral("1d5"),
        QStringLiteral("\n12"),
        QStringLiteral("12\r\n"),
        QStringLiteral("5%"),
        QStringLiteral("999999999999999999999"),
        QStringLiteral("0,000000000000000000001"),
        QStringLiteral("12345678901234567890,12345678901234567890"),
        QStringLiteral("1000000"),
        QStringLiteral("-1000000"),
        QStringLiteral("66666,67"),
        QStringLiteral("-66274,67"),
        QStringLiteral("392"),
        QStringLiteral("45"),
        QStringLiteral("1\u0301"),
        QStringLiteral("\u0000\u0000\u0000"),
    };
    switch (below(rng, 8)) {
        case 0:
            return QString(400, u'9');
        case 1: {
            const QString sign = below(rng, 2) ? QStringLiteral("-") : QString();
            return sign + digits(rng, 300 + below(rng, 200));
        }
        case 2:
            return QStringLiteral("0,") + QString(400 + below(rng, 400), u'0') +
                   QStringLiteral("1");
        case 3:
            return soup(rng);
        case 4:
            return anyCharacters(rng);
        default:
            return fixed[size_t(below(rng, int(fixed.size())))];
    }
}

QString huge(std::mt19937_64& rng) {
    switch (below(rng, 3)) {
        case 0:
            return QString(kHugeLength, u'9');
        case 1: {
            QString text = digits(rng, kHugeLength);
            text[kHugeLength / 2] = u',';
            return text;
        }
        default:
            return QStringLiteral("0,") + QString(kHugeLength, u'0') + QStringLiteral("7");
    }
}

QString describe(const QString& text) {
    constexpr qsizetype kShown = 40;
    QString out = QStringLiteral("\"");
    for (qsizetype i = 0; i < text.size() && i < kShown; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\')
            out.append(QChar(c));
        else
            out.append(QStringLiteral("\\u%1").arg(int(c), 4, 16, QChar(u'0')));
    }
    out.append(u'"');
    if (text.size() > kShown) out.append(QStringLiteral("...(%1 chars)").arg(text.size()));
    return out;
}

}  // namespace nasty_text
