#include "platform/TextFile.h"

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"

#include <QFile>
#include <QFileInfo>

#include <unicode/ucsdet.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {
namespace {

// ---- Decoding -------------------------------------------------------------------------

struct ByteOrderMark {
    const char* bytes;
    int size;
    unsigned codePage;
};

constexpr ByteOrderMark ByteOrderMarks[] = {
    {"\xEF\xBB\xBF", 3, CodePageUtf8},
    {"\xFF\xFE", 2, CodePageUtf16LE},
    {"\xFE\xFF", 2, CodePageUtf16BE},
};

const ByteOrderMark* FindByteOrderMark(const QByteArray& bytes) {
    for (const ByteOrderMark& mark : ByteOrderMarks)
        if (bytes.startsWith(QByteArrayView(mark.bytes, mark.size))) return &mark;
    return nullptr;
}

const ByteOrderMark* ByteOrderMarkOf(unsigned codePage) {
    for (const ByteOrderMark& mark : ByteOrderMarks)
        if (mark.codePage == codePage) return &mark;
    return nullptr;
}

// ISO-2022-JP is pure 7-bit and switches into JIS X 0208 (or JIS Roman) by escape sequences;
// such a file is also valid UTF-8, so it has to be recognised before the system code page.
bool LooksLikeIso2022Jp(const QByteArray& bytes) {
    if (!bytes.contains('\x1B')) return false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return bytes.contains("\x1B$B") || bytes.contains("\x1B$@") || bytes.contains("\x1B(J");
}

struct Candidate {
    unsigned codePage;
    QString text;
};

struct DetectorCloser {
    void operator()(UCharsetDetector* detector) const { ucsdet_close(detector); }
};

unsigned CodePageOfDetectedCharset(const char* name) {
    if (std::strcmp(name, "Shift_JIS") == 0) return CodePageWindows31J;
    if (std::strcmp(name, "EUC-JP") == 0) return CodePageEucJp;
    if (std::strcmp(name, "UTF-8") == 0) return CodePageUtf8;
    return 0;
}

// Several code pages decode the bytes without error: ICU's statistical detector picks the
// likeliest. It looks at a sample starting at the first non-ASCII byte, which is where the
// evidence is and keeps a large file from being scanned once more.
std::size_t ChooseByDetector(const QByteArray& bytes, const std::vector<Candidate>& candidates) {
    constexpr qsizetype SampleSize = 1 << 20;
    qsizetype start = 0;
    while (start < bytes.size() && static_cast<unsigned char>(bytes[start]) < 0x80) ++start;
    const qsizetype length = std::min(SampleSize, bytes.size() - start);

    UErrorCode error = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, DetectorCloser> detector(ucsdet_open(&error));
    ucsdet_setText(detector.get(), bytes.constData() + start, static_cast<int32_t>(length), &error);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &error);
    if (U_FAILURE(error)) return 0;
    for (int32_t i = 0; i < count; ++i) {
        const char* name = ucsdet_getName(matches[i], &error);
        if (U_FAILURE(error)) return 0;
        const unsigned codePage = CodePageOfDetectedCharset(name);
        for (std::size_t c = 0; c < candidates.size(); ++c)
            if (candidates[c].codePage == codePage) return c;
    }
    return 0;  // the detector has no opinion: the first candidate, Windows-31J, is the commonest
}

// Decodes bytes that carry no byte-order mark; returns the text and fills in the code page.
QString DecodeWithoutMark(const QByteArray& bytes, TextFileContent& content) {
    bool valid = false;
    if (LooksLikeIso2022Jp(bytes)) {
        QString text = AnsiToUTF16Checked(bytes, CodePageIso2022Jp, &valid);
        if (valid) {
            content.format.codePage = CodePageIso2022Jp;
            return text;
        }
    }

    const unsigned system = SystemCodePage();
    QString systemText = AnsiToUTF16Checked(bytes, system, &valid);
    content.format.codePage = system;
    if (valid) return systemText;

    // Japanese files from Windows or older Unix systems; and UTF-8 when the system is not.
    std::vector<Candidate> candidates;
    for (unsigned codePage : {CodePageWindows31J, CodePageEucJp, CodePageUtf8}) {
        if (codePage == system) continue;
        QString text = AnsiToUTF16Checked(bytes, codePage, &valid);
        if (valid) candidates.push_back({codePage, std::move(text)});
    }
    if (candidates.empty()) {
        content.lossy = true;
        return systemText;
    }
    const std::size_t chosen = candidates.size() == 1 ? 0 : ChooseByDetector(bytes, candidates);
    content.format.codePage = candidates[chosen].codePage;
    return std::move(candidates[chosen].text);
}

// Splits once into lines; the break style is that of the first break, and each of
// CR LF, CR and LF ends one line.
void SplitLines(const QString& text, TextFileContent& content) {
    const QChar* data = text.constData();
    const qsizetype size = text.size();
    bool styleKnown = false;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\r' && c != u'\n') continue;
        content.lines.append(QString(data + lineStart, i - lineStart));
        const bool crLf = c == u'\r' && i + 1 < size && data[i + 1] == u'\n';
        if (!styleKnown) {
            content.format.lineBreak = crLf ? LineBreak::CrLf : c == u'\r' ? LineBreak::Cr : LineBreak::Lf;
            styleKnown = true;
        }
        if (crLf) ++i;
        lineStart = i + 1;
    }
    content.format.finalLineBreak = lineStart == size;
    if (lineStart < size) content.lines.append(QString(data + lineStart, size - lineStart));
}

QLatin1StringView LineBreakText(LineBreak lineBreak) {
    switch (lineBreak) {
    case LineBreak::CrLf: return QLatin1StringView("\r\n");
    case LineBreak::Cr: return QLatin1StringView("\r");
    case LineBreak::Lf: break;
    }
    return QLatin1StringView("\n");
}

QString JoinLines(const QStringList& lines, const TextFileFormat& format) {
    const QLatin1StringView lineBreak = LineBreakText(format.lineBreak);
    qsizetype size = 0;
    for (const QString& line : lines) size += line.size() + lineBreak.size();
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) text += lineBreak;
        text += lines[i];
    }
    if (format.finalLineBreak && !lines.isEmpty()) text += lineBreak;
    return text;
}

// ---- Writing ---------------------------------------------------------------------------

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void ThrowWriteError(const QString& fileName, const QString& reason) {
    throw Exception(QStringLiteral("ファイル \"%1\" を保存できません: %2").arg(fileName, reason));
}

// The file that a write to fileName must replace: symbolic links are followed (also a
// dangling one, whose target is then created) so that the link itself stays a link.
QString ResolveLinks(const QString& fileName) {
    constexpr int MaxLinks = 40;  // the kernel's own limit for one path
    QString path = fileName;
    for (int i = 0; i < MaxLinks; ++i) {
        const QFileInfo info(path);
        if (!info.isSymLink()) return path;
        path = info.symLinkTarget();
    }
    ThrowWriteError(fileName, SystemReason(ELOOP));
}

// New files get the permissions any program would give them: rw for all, less the umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Owns the temporary file until it has been renamed into place.
class TemporaryFile {
public:
    TemporaryFile(const QString& fileName, const QByteArray& target) : fileName_(fileName) {
        path_ = target + ".XXXXXX";
        fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
        if (fd_ < 0) ThrowWriteError(fileName_, SystemReason(errno));
    }
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_) ::unlink(path_.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void Write(const QByteArray& bytes) {
        const char* data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, data, static_cast<size_t>(left));
            if (written < 0) {
                if (errno == EINTR) continue;
                Fail();
            }
            data += written;
            left -= written;
        }
    }

    // The old file's permissions (and owner, where we may) carry over to the new one.
    void TakeAttributesOf(const QByteArray& target) {
        struct stat old;
        if (::stat(target.constData(), &old) == 0) {
            // Keeping another user's ownership needs privileges; without them the file is ours.
            if (::fchown(fd_, old.st_uid, old.st_gid) != 0 && errno != EPERM) Fail();
            if (::fchmod(fd_, old.st_mode & 07777) != 0) Fail();
        } else if (::fchmod(fd_, NewFileMode()) != 0) {
            Fail();
        }
    }

    // Flushed to disk before the rename, so a crash leaves either the old or the new file.
    void CommitAs(const QByteArray& target) {
        if (::fsync(fd_) != 0) Fail();
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail();
        if (::rename(path_.constData(), target.constData()) != 0) Fail();
        renamed_ = true;
    }

private:
    [[noreturn]] void Fail() { ThrowWriteError(fileName_, SystemReason(errno)); }

    QString fileName_;
    QByteArray path_;
    int fd_ = -1;
    bool renamed_ = false;
};

// Makes the rename itself durable; the new file is in place already, so a failure here
// is no reason to report the save as failed.
void SyncFolderOf(const QByteArray& target) {
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

TextFileContent DecodeTextFile(const QByteArray& bytes) {
    TextFileContent content;
    content.format.codePage = SystemCodePage();
    content.format.lineBreak = LineBreak::Lf;  // a file with no break yet gets the Linux one
    if (bytes.isEmpty()) return content;

    QString text;
    if (const ByteOrderMark* mark = FindByteOrderMark(bytes)) {
        content.format.codePage = mark->codePage;
        content.format.byteOrderMark = true;
        bool valid = false;
        const QByteArray body = QByteArray::fromRawData(bytes.constData() + mark->size, bytes.size() - mark->size);
        text = AnsiToUTF16Checked(body, mark->codePage, &valid);
        content.lossy = !valid;
    } else {
        text = DecodeWithoutMark(bytes, content);
    }
    SplitLines(text, content);
    return content;
}

QByteArray EncodeTextFile(const QStringList& lines, const TextFileFormat& format) {
    QByteArray bytes = UTF16ToAnsi(JoinLines(lines, format), format.codePage);
    if (format.byteOrderMark) {
        if (const ByteOrderMark* mark = ByteOrderMarkOf(format.codePage)) bytes.prepend(mark->bytes, mark->size);
    }
    return bytes;
}

bool CanEncodeTextFile(const QStringList& lines, const TextFileFormat& format) {
    // A character the code page cannot hold comes back as "?"; ICU's tables map every
    // character they hold to one code and back.
    for (const QString& line : lines) {
        if (AnsiToUTF16(UTF16ToAnsi(line, format.codePage), format.codePage) != line) return false;
    }
    return true;
}

TextFileContent ReadTextFile(const QString& fileName) {
    QFile file(fileName);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("ファイル \"%1\" を読み込めません: %2").arg(fileName, file.errorString()));
    return DecodeTextFile(bytes);
}

void WriteTextFile(const QString& fileName, const QStringList& lines, const TextFileFormat& format) {
    WriteFileAtomically(fileName, EncodeTextFile(lines, format));
}

void WriteFileAtomically(const QString& fileName, const QByteArray& bytes) {
    if (fileName.isEmpty()) ThrowWriteError(fileName, SystemReason(ENOENT));
    const QByteArray target = QFile::encodeName(ResolveLinks(fileName));
    TemporaryFile temporary(fileName, target);
    temporary.Write(bytes);
    temporary.TakeAttributesOf(target);
    temporary.CommitAs(target);
    SyncFolderOf(target);
}

}  // namespace platform
