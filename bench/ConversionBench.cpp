// Throughput of every conversion of the library over the Japanese manual-page corpora that
// bench/make-corpus.sh writes. Each figure is MB/s of UTF-16 input, and "vs_memcpy" is that
// throughput as a fraction of memcpy over the same buffer, measured in the same run.
// Usage: conversion_bench CORPUS_DIR [benchmark flags]

#include "conversion/StringUtility.h"
#include "conversion/TStringConvertFunction.h"
#include "platform/CodePage.h"
#include "platform/LocaleMapping.h"
#include "platform/SystemLocale.h"

#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

double memcpyBytesPerSecond = 0;

QString ReadCorpus(const QString& directory, const char* name) {
    QFile file(directory + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    return QString::fromUtf8(file.readAll());
}

double MeasureMemcpy(const QString& text) {
    const std::size_t size = std::size_t(text.size()) * sizeof(char16_t);
    std::vector<char> target(size);
    double best = 1e9;
    for (int round = 0; round < 20; ++round) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(target.data(), text.constData(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return double(size) / best;
}

void Run(benchmark::State& state, const QString& input, const std::function<QString(const QString&)>& convert) {
    const double bytes = double(input.size()) * sizeof(char16_t);
    for (auto _ : state) {
        QString result = convert(input);
        benchmark::DoNotOptimize(result.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations() * bytes));
    state.counters["vs_memcpy"] =
        benchmark::Counter(double(state.iterations()) * bytes / memcpyBytesPerSecond, benchmark::Counter::kIsRate);
}

void Register(const char* name, const QString& input, std::function<QString(const QString&)> convert) {
    benchmark::RegisterBenchmark(name, [input, convert](benchmark::State& state) { Run(state, input, convert); })
        ->Unit(benchmark::kMillisecond);
}

std::function<QString(const QString&)> Mapping(std::uint32_t flags) {
    return [flags](const QString& text) { return TStringConvertFunction::MapString(text, flags); };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [benchmark flags]\n", argv[0]);
        return 2;
    }
    platform::SetSystemCodePage(platform::CodePageUtf8);
    const QString directory = QString::fromLocal8Bit(argv[1]);
    const QString plain = ReadCorpus(directory, "corpus.txt");
    const QString hankana = ReadCorpus(directory, "corpus-hankana.txt");
    const QString zenkaku = ReadCorpus(directory, "corpus-zenkaku.txt");
    const QString urlEscaped = ReadCorpus(directory, "corpus-url.txt");
    const QString htmlEscaped = ReadCorpus(directory, "corpus-html.txt");
    memcpyBytesPerSecond = MeasureMemcpy(plain);

    using namespace TStringConvertFunction;
    benchmark::RegisterBenchmark("memcpy", [&plain](benchmark::State& state) {
        Run(state, plain, [](const QString& text) {
            QString copy(text.size(), Qt::Uninitialized);
            std::memcpy(copy.data(), text.constData(), std::size_t(text.size()) * sizeof(char16_t));
            return copy;
        });
    })->Unit(benchmark::kMillisecond);
    Register("hiragana", plain, Mapping(platform::LCMAP_HIRAGANA));
    Register("katakana", plain, Mapping(platform::LCMAP_KATAKANA));
    Register("fullwidth", plain, Mapping(platform::LCMAP_FULLWIDTH));
    Register("halfwidth", zenkaku, Mapping(platform::LCMAP_HALFWIDTH));
    Register("halfwidth/hankana-input", plain, Mapping(platform::LCMAP_HALFWIDTH));
    Register("lower", plain, Mapping(platform::LCMAP_LOWERCASE));
    Register("upper", plain, Mapping(platform::LCMAP_UPPERCASE));
    Register("AlphaToZenkaku", plain, AlphaToZenkaku);
    Register("DigitToZenkaku", plain, DigitToZenkaku);
    Register("AlnumToZenkaku", plain, AlnumToZenkaku);
    Register("AlphaToHankaku", zenkaku, AlphaToHankaku);
    Register("DigitToHankaku", zenkaku, DigitToHankaku);
    Register("AlnumToHankaku", zenkaku, AlnumToHankaku);
    Register("HtmlEscape", plain, StringUtility::HtmlEscape);
    Register("HTMLUnescape", htmlEscaped, StringUtility::HTMLUnescape);
    Register("ConvHtmlUnescape", htmlEscaped, ConvHtmlUnescape);
    Register("UrlEncode", plain, [](const QString& text) { return StringUtility::UrlEncode(text, 0); });
    Register("UrlDecodeText", urlEscaped, [](const QString& text) { return UrlDecodeText(text, 0); });
    Register("ConvUrlEscape", plain, ConvUrlEscape);
    Register("ConvUrlUnescape", urlEscaped, ConvUrlUnescape);
    Register("ToZenkaku", hankana, StringUtility::ToZenkaku);
    Register("Capitalize", plain, StringUtility::Capitalize);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
