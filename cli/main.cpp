// kestrino-conv: every conversion of the library as a pipe filter. All of standard input is
// one UTF-8 text; it is converted as a whole and written to standard output as UTF-8.

#include "cli/LargeHeap.h"
#include "cli/Tasks.h"
#include "cli/Utf8Codec.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

void PrintError(const QString& message) {
    const QByteArray bytes = message.toUtf8();
    std::fprintf(stderr, "kestrino-conv: %s\n", bytes.constData());
}

void PrintUsage(std::FILE* stream) {
    std::fputs("使い方: kestrino-conv TASK [--target all|alpha|digit|alnum] [--codepage N]\n"
               "標準入力の UTF-8 テキストを変換して標準出力に書き出します。\n\n"
               "TASK:\n",
               stream);
    for (const cli::Task& task : cli::Tasks())
        std::fprintf(stream, "  %-20.*s %.*s\n", int(task.name.size()), task.name.data(), int(task.summary.size()),
                     task.summary.data());
    std::fputs("\nオプション:\n"
               "  --target T     fullwidth と halfwidth の対象: all（既定）, alpha, digit, alnum\n"
               "  --codepage N   システムのコードページ（コードページ 0）とみなす番号（例: 932, 65001）\n"
               "  --help         この説明を表示します\n",
               stream);
}

int UsageError(const QString& message) {
    PrintError(message);
    PrintUsage(stderr);
    return ExitUsage;
}

bool ReadAll(int fd, std::string& out) {
    // A redirected file tells its size: read it straight into a buffer of that size.
    struct stat status;
    std::size_t capacity = 1 << 16;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
        capacity = std::size_t(status.st_size) + 1;
    // The input, its UTF-16 text (twice the bytes at most) and the converted text; a pipe
    // gets a generous guess.
    cli::PrepareLargeHeap(capacity * 6);
    out.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == out.size()) out.resize(out.size() * 2);
        const ssize_t got = ::read(fd, out.data() + used, out.size() - used);
        if (got > 0) {
            used += std::size_t(got);
        } else if (got == 0) {
            out.resize(used);
            return true;
        } else if (errno != EINTR) {
            return false;
        }
    }
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

struct Options {
    std::string_view task;
    std::string_view target;
    std::string_view codePage;
};

// Takes "--name value" and "--name=value"; returns false for a missing value.
bool TakeValue(int argc, char** argv, int& i, std::string_view name, std::string_view& value) {
    const std::string_view argument = argv[i];
    if (argument.size() > name.size() && argument.substr(0, name.size()) == name && argument[name.size()] == '=') {
        value = argument.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= argc) return false;
    value = argv[++i];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (argument.rfind("--target", 0) == 0) {
            if (!TakeValue(argc, argv, i, "--target", options.target))
                return UsageError(QStringLiteral("--target に値がありません"));
        } else if (argument.rfind("--codepage", 0) == 0) {
            if (!TakeValue(argc, argv, i, "--codepage", options.codePage))
                return UsageError(QStringLiteral("--codepage に値がありません"));
        } else if (argument.rfind("-", 0) == 0 || !options.task.empty()) {
            return UsageError(QStringLiteral("不明な引数です: %1").arg(QString::fromLocal8Bit(argv[i])));
        } else {
            options.task = argument;
        }
    }
    if (options.task.empty()) return UsageError(QStringLiteral("TASK を指定してください"));

    cli::Target target = cli::Target::All;
    if (!options.target.empty()) {
        const auto parsed = cli::ParseTarget(options.target);
        if (!parsed) return UsageError(QStringLiteral("不明な対象です: %1").arg(QString::fromUtf8(options.target)));
        target = *parsed;
        bool takesTarget = false;
        for (const cli::Task& task : cli::Tasks())
            if (task.name == options.task) takesTarget = task.takesTarget;
        if (!takesTarget) return UsageError(QStringLiteral("--target は fullwidth と halfwidth にだけ指定できます"));
    }
    if (!options.codePage.empty()) {
        unsigned codePage = 0;
        const auto [end, error] =
            std::from_chars(options.codePage.data(), options.codePage.data() + options.codePage.size(), codePage);
        if (error != std::errc() || end != options.codePage.data() + options.codePage.size() || codePage == 0 ||
            !platform::IsSupportedCodePage(codePage))
            return UsageError(QStringLiteral("対応していないコードページです: %1").arg(QString::fromUtf8(options.codePage)));
        platform::SetSystemCodePage(codePage);
    }
    const auto conversion = cli::ConversionFor(options.task, target);
    if (!conversion) return UsageError(QStringLiteral("不明な TASK です: %1").arg(QString::fromUtf8(options.task)));

    std::string input;
    if (!ReadAll(STDIN_FILENO, input)) {
        PrintError(QStringLiteral("標準入力を読み込めません: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return ExitFailure;
    }
    QString text;
    const std::size_t invalid = cli::DecodeUtf8(input, text);
    if (invalid != std::string_view::npos) {
        PrintError(QStringLiteral("入力が UTF-8 ではありません（バイトオフセット %1）").arg(invalid));
        return ExitFailure;
    }
    std::string().swap(input);

    QString output;
    try {
        output = (*conversion)(text);
    } catch (const platform::Exception& error) {
        PrintError(error.Message());
        return ExitFailure;
    }
    text.clear();
    const auto toStandardOutput = [](const char* data, std::size_t size) { return WriteAll(STDOUT_FILENO, data, size); };
    if (!cli::EncodeUtf8(output, toStandardOutput)) {
        PrintError(QStringLiteral("標準出力に書き込めません: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return ExitFailure;
    }
    return 0;
}
