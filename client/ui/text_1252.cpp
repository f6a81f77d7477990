#include "client/ui/text_1252.h"

namespace stk::client {

namespace {

// Code points of 0x80..0x9F in Windows-1252; 0 marks the five bytes it leaves undefined.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// UTF-8 lead bytes: how long their sequence is and the range its second byte must lie in, which rules out
// overlong forms, surrogates and code points above U+10FFFF.
struct Utf8Lead {
    unsigned char first, last;  // the lead bytes this row covers
    std::size_t length;
    unsigned char low, high;    // second byte
};
constexpr Utf8Lead kUtf8Leads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// Length of the UTF-8 sequence at `i`, or 0 when the bytes there are not one.
std::size_t utf8_sequence(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    for (const Utf8Lead& lead : kUtf8Leads) {
        if (byte(i) < lead.first || byte(i) > lead.last) continue;
        if (i + lead.length > s.size() || byte(i + 1) < lead.low || byte(i + 1) > lead.high) return 0;
        for (std::size_t k = 2; k < lead.length; ++k)
            if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
        return lead.length;
    }
    return 0;
}

// True when the text has bytes above 127 and all of them form UTF-8 sequences.
bool reads_as_utf8(std::string_view s) {
    bool wide = false;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = utf8_sequence(s, i);
        if (n == 0) return false;
        wide = true;
        i += n;
    }
    return wide;
}

}  // namespace

QString from_1252(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char c : bytes) {
        if (c >= 0x80 && c < 0xA0 && kHigh[c - 0x80] != 0)
            out.append(QChar(kHigh[c - 0x80]));
        else
            out.append(QChar(static_cast<char16_t>(c)));  // undefined bytes map through like the system does
    }
    return out;
}

std::string to_1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;  // one character outside the basic plane: one "?"
            out.push_back('?');
            continue;
        }
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] == 0)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (kHigh[k] != 0 && kHigh[k] == u) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

std::string file_text_1252(std::string_view bytes) {
    const bool marked = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (marked) bytes.remove_prefix(kUtf8Mark.size());
    if (!marked && !reads_as_utf8(bytes)) return std::string(bytes);
    return to_1252(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::vector<std::string_view> text_file_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string clean_file_field(std::string_view field) {
    std::string out(field);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F)
            c = ' ';
        else if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] == 0)
            c = '?';
    }
    return out;
}

}  // namespace stk::client
