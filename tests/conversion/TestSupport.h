#pragma once

#include <QString>

#include <ostream>
#include <random>
#include <vector>

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
