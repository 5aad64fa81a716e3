// The editor model next to QTextDocument on the same work: loading a large Japanese file, wrapping
// all of it, replacing a 10 MB selection and undoing that. Prints the ratios at the end.
// KESTRINO_EDITOR_BENCH_MB sets the size of the compared file (default 24); the open of a
// 100 MB, two-million-line file is measured for the editor alone, against one plain decoding pass.
#include "editor/EditorCore.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QAbstractTextDocumentLayout>

#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>

using namespace editor;

namespace {

constexpr qsizetype ReplacedUnits = 5 * 1024 * 1024;  // 10 MB of UTF-16

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Japanese prose-like lines of varying length, most characters outside ASCII.
QString WriteCorpus(const QString& name, qint64 bytes, qint64 lines)
{
    const QString path = Folder().filePath(name);
    if (QFile::exists(path))
        return path;
    static const QString words[] = {
        QStringLiteral(u"日本語の"), QStringLiteral(u"文章を"), QStringLiteral(u"編集する"), QStringLiteral(u"ときに、"),
        QStringLiteral(u"カタカナ"), QStringLiteral(u"ひらがな"), QStringLiteral(u"漢字"), QStringLiteral(u"テキスト"),
        QStringLiteral(u"「引用」"), QStringLiteral(u"です。"), QStringLiteral("ASCII "), QStringLiteral(u"（括弧）"),
    };
    const qint64 perLine = bytes / lines;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray chunk;
    quint32 seed = 12345;
    for (qint64 i = 0; i < lines; ++i) {
        QString line;
        seed = seed * 1103515245u + 12345u;
        const qint64 target = perLine / 2 + static_cast<qint64>(seed >> 16) % perLine;
        while (line.toUtf8().size() < target) {
            seed = seed * 1103515245u + 12345u;
            line += words[(seed >> 16) % 12];
        }
        chunk += line.toUtf8();
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    return path;
}

qint64 CorpusBytes()
{
    const int mb = qEnvironmentVariableIntValue("KESTRINO_EDITOR_BENCH_MB");
    return static_cast<qint64>(mb > 0 ? mb : 24) * 1024 * 1024;
}

const QString& Corpus()
{
    static const QString path = WriteCorpus(QStringLiteral("corpus.txt"), CorpusBytes(), CorpusBytes() / 50);
    return path;
}

QString ReadUtf8(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

long ResidentKiB()
{
    FILE* status = std::fopen("/proc/self/status", "r");
    long kib = 0;
    char line[256];
    while (status && std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmRSS: %ld", &kib) == 1)
            break;
    if (status)
        std::fclose(status);
    return kib;
}

int WrapWidthPixels()
{
    return 80 * 8;  // 80 half-width cells of 8 pixels: the same row width for both
}

// ---- load ----

void BM_Load_Editor(benchmark::State& state)
{
    for (auto _ : state) {
        EditorDocument doc;
        doc.LoadFromFile(Corpus());
        benchmark::DoNotOptimize(doc.Count());
    }
}

void BM_Load_QTextDocument(benchmark::State& state)
{
    for (auto _ : state) {
        QTextDocument doc;
        doc.setPlainText(ReadUtf8(Corpus()));
        benchmark::DoNotOptimize(doc.blockCount());
    }
}

// ---- wrap every line ----

void BM_Wrap_Editor(benchmark::State& state)
{
    EditorDocument doc;
    doc.LoadFromFile(Corpus());
    WrapSettings settings;
    settings.wordWrap = true;
    settings.option.FollowPunctuation = true;
    settings.option.WordBreak = true;
    for (auto _ : state) {
        qint64 rows = 0;
        for (int line = 0; line < doc.Count(); ++line)
            rows += static_cast<qint64>(WrapLine(doc[line], settings, line + 1 < doc.Count()).size());
        benchmark::DoNotOptimize(rows);
    }
}

void BM_Wrap_QTextDocument(benchmark::State& state)
{
    const QString text = ReadUtf8(Corpus());
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<QTextDocument>();
        doc->setPlainText(text);
        state.ResumeTiming();
        doc->setTextWidth(WrapWidthPixels());
        benchmark::DoNotOptimize(doc->documentLayout()->documentSize());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

// ---- replace a 10 MB selection, then undo ----

void BM_Replace_Editor(benchmark::State& state)
{
    EditorCore core;
    core.Document().LoadFromFile(Corpus());
    for (auto _ : state) {
        core.SetSelStart(1000);
        core.SetSelLength(ReplacedUnits);
        benchmark::DoNotOptimize(core.ReplaceSel(QStringLiteral(u"置換")));
        state.PauseTiming();
        core.Undo();
        state.ResumeTiming();
    }
}

void BM_Undo_Editor(benchmark::State& state)
{
    EditorCore core;
    core.Document().LoadFromFile(Corpus());
    for (auto _ : state) {
        state.PauseTiming();
        core.SetSelStart(1000);
        core.SetSelLength(ReplacedUnits);
        core.ReplaceSel(QStringLiteral(u"置換"));
        state.ResumeTiming();
        core.Undo();
    }
}

void SelectInQTextDocument(QTextDocument& doc, QTextCursor& cursor)
{
    cursor = QTextCursor(&doc);
    cursor.setPosition(1000);
    cursor.setPosition(1000 + static_cast<int>(ReplacedUnits), QTextCursor::KeepAnchor);
}

void BM_Replace_QTextDocument(benchmark::State& state)
{
    QTextDocument doc;
    doc.setPlainText(ReadUtf8(Corpus()));
    QTextCursor cursor;
    for (auto _ : state) {
        SelectInQTextDocument(doc, cursor);
        cursor.insertText(QStringLiteral(u"置換"));
        state.PauseTiming();
        doc.undo();
        state.ResumeTiming();
    }
}

void BM_Undo_QTextDocument(benchmark::State& state)
{
    QTextDocument doc;
    doc.setPlainText(ReadUtf8(Corpus()));
    QTextCursor cursor;
    for (auto _ : state) {
        state.PauseTiming();
        SelectInQTextDocument(doc, cursor);
        cursor.insertText(QStringLiteral(u"置換"));
        state.ResumeTiming();
        doc.undo();
    }
}

// ---- the large file: open and show the first screen, against one decoding pass ----

const QString& LargeCorpus()
{
    static const QString path = WriteCorpus(QStringLiteral("large.txt"), 100LL * 1024 * 1024, 2'000'000);
    return path;
}

void BM_OpenLarge_Decode(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(LargeCorpus());
        file.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(file.readAll());
        benchmark::DoNotOptimize(text.size());
    }
}

void BM_OpenLarge_Editor(benchmark::State& state)
{
    LargeCorpus();
    long resident = -1;
    for (auto _ : state) {
        malloc_trim(0);  // give freed memory back first, so that the delta is the document's own
        const long before = ResidentKiB();
        EditorCore core;
        core.SetWordWrap(true);
        core.Document().LoadFromFile(LargeCorpus());
        qint64 rows = 0;
        for (int line = 0; line < 60; ++line)
            rows += static_cast<qint64>(core.Rows(line).size());
        benchmark::DoNotOptimize(rows);
        if (resident < 0)  // the first open, before the allocator holds freed memory
            resident = ResidentKiB() - before;
    }
    state.counters["resident_per_file_byte"] =
        static_cast<double>(resident) * 1024 / static_cast<double>(QFile(LargeCorpus()).size());
}

// Typing one character in the middle of the large file: no full relayout, no full copy.
void BM_TypeInLarge_Editor(benchmark::State& state)
{
    EditorCore core;
    core.SetWordWrap(true);
    core.Document().LoadFromFile(LargeCorpus());
    core.SetCaret(TextPos{core.Document().Count() / 2, 3});
    for (auto _ : state) {
        core.TypeText(QStringLiteral(u"あ"));
        benchmark::DoNotOptimize(core.Rows(core.Caret().line).size());
    }
}

// Enter in the middle of the large file: the line vector shifts, nothing is laid out again.
void BM_EnterInLarge_Editor(benchmark::State& state)
{
    EditorCore core;
    core.SetWordWrap(true);
    core.Document().LoadFromFile(LargeCorpus());
    core.SetCaret(TextPos{core.Document().Count() / 2, 3});
    for (auto _ : state) {
        core.KeyEnter();
        benchmark::DoNotOptimize(core.Rows(core.Caret().line).size());
    }
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            seconds_[run.benchmark_name().substr(0, run.benchmark_name().find('/'))] = run.GetAdjustedRealTime();
    }
    void PrintRatios() const
    {
        std::printf("\nratios (editor time / reference time; below 1 means the editor is faster):\n");
        for (const char* work : {"Load", "Wrap", "Replace", "Undo"}) {
            const auto editor = seconds_.find(std::string("BM_") + work + "_Editor");
            const auto reference = seconds_.find(std::string("BM_") + work + "_QTextDocument");
            if (editor != seconds_.end() && reference != seconds_.end() && reference->second > 0)
                std::printf("  %-8s %.3f\n", work, editor->second / reference->second);
        }
        const auto open = seconds_.find("BM_OpenLarge_Editor");
        const auto decode = seconds_.find("BM_OpenLarge_Decode");
        if (open != seconds_.end() && decode != seconds_.end() && decode->second > 0)
            std::printf("  100 MB open / one decoding pass: %.3f (goal: at most 5)\n", open->second / decode->second);
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace

BENCHMARK(BM_Load_Editor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Load_QTextDocument)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Wrap_Editor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Wrap_QTextDocument)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Replace_Editor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Replace_QTextDocument)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Undo_Editor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Undo_QTextDocument)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenLarge_Decode)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_OpenLarge_Editor)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_TypeInLarge_Editor)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_EnterInLarge_Editor)->Unit(benchmark::kMicrosecond)->Iterations(50);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);  // QTextDocument lays out with fonts
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
