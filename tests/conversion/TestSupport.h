#pragma once

#include <QString>

#include <ostream>
#include <random>
#include <vector>

// One row of a table of conversions.
struct TextCase {
    QString input;
    QString expected;
};

// The two messages of the URL decoders, as the user sees them.
inline QString TruncatedEscapeMessage(int position) {
    return QStringLiteral(u"URL 表記用エンコード（%XX）文字列のエラー：位置 - ") + QString::number(position);
}

inline QString InvalidEscapeMessage(const QString& escape, int position) {
    return QStringLiteral(u"URL 表記エンコードでは許されない文字 (") + escape + QStringLiteral(u")：位置 - ") +
           QString::number(position);
}

// Readable failure output for texts: the UTF-8 form, with the code units for exactness.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << "\" [";
    for (const QChar c : text) *os << ' ' << std::hex << unsigned(c.unicode()) << std::dec;
    *os << " ]";
}

// Texts made of randomly drawn tokens, reproducible from the fixed seed.
class RandomText {
public:
    explicit RandomText(std::vector<QString> tokens) : tokens_(std::move(tokens)) {}

    QString Next(int maxTokens = 24) {
        std::uniform_int_distribution<int> count(0, maxTokens);
        std::uniform_int_distribution<std::size_t> pick(0, tokens_.size() - 1);
        QString text;
        for (int n = count(engine_); n > 0; --n) text += tokens_[pick(engine_)];
        return text;
    }

private:
    std::vector<QString> tokens_;
    std::mt19937 engine_{20240611};
};

// Every case of the random tests runs this many times.
constexpr int RandomCases = 20000;
