// What a PDF shows as words and where (in points from the page's top-left), read with poppler's
// `pdftotext -bbox`.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <vector>

namespace stk::client::testing {

struct PdfWord {
    QString text;
    double x_min, y_min, x_max, y_max;
};

struct PdfPage {
    double width = 0, height = 0;
    std::vector<PdfWord> words;

    // The words with this text, top to bottom as they appear.
    std::vector<PdfWord> all(const QString& text) const {
        std::vector<PdfWord> found;
        for (const PdfWord& w : words)
            if (w.text == text) found.push_back(w);
        return found;
    }
    bool has(const QString& text) const { return !all(text).empty(); }
    PdfWord first(const QString& text) const {
        const auto found = all(text);
        return found.empty() ? PdfWord{QString(), -1, -1, -1, -1} : found.front();
    }
};

// The pages of the PDF; empty when pdftotext could not read it.
inline std::vector<PdfPage> read_pdf(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<PdfPage> pages;
    static const QRegularExpression token(
        QString::fromLatin1(R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.-]+)" yMin="([\d.-]+)" )re"
                            R"re(xMax="([\d.-]+)" yMax="([\d.-]+)">([^<]*)</word>)re"));
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), {}});
        } else if (!pages.empty()) {
            QString text = m.captured(7);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            pages.back().words.push_back({text, m.captured(3).toDouble(), m.captured(4).toDouble(),
                                          m.captured(5).toDouble(), m.captured(6).toDouble()});
        }
    }
    return pages;
}

}  // namespace stk::client::testing
