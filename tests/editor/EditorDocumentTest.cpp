#include "editor/EditorDocument.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace editor;

TEST(EditorDocumentTest, OffsetsCountLineBreaksAsTwoAndSnapBack)
{
    EditorDocument doc;
    doc.SetText(QStringLiteral(u"ab\r\nc𠮷d\nlast"));
    EXPECT_EQ(doc.Length(), 2 + 2 + 4 + 2 + 4);
    const struct {
        qsizetype offset;
        TextPos pos;
    } cases[] = {
        {0, {0, 0}},  {2, {0, 2}},  {3, {0, 2}} /* inside CR LF */, {4, {1, 0}},
        {6, {1, 1}} /* inside the surrogate pair */, {7, {1, 3}}, {8, {1, 4}}, {10, {2, 0}},
        {14, {2, 4}}, {999, {2, 4}} /* past the end */, {-5, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(doc.PosAt(c.offset), c.pos) << c.offset;
        EXPECT_EQ(doc.PosAt(doc.OffsetOf(c.pos)), c.pos) << c.offset;
    }
    EXPECT_EQ(doc.TextBetween({0, 1}, {2, 2}), QStringLiteral(u"b\r\nc𠮷d\r\nla"));
}

TEST(EditorDocumentTest, InsertedLengthCountsEveryBreakKindAsTwo)
{
    EXPECT_EQ(EditorDocument::InsertedLength(QStringLiteral("x\ny\r\nz\r")), 9);
    EXPECT_EQ(EditorDocument::InsertedLength(QString()), 0);
}

TEST(EditorDocumentTest, UndoAndRedoRestoreTextAcrossLineChanges)
{
    EditorDocument doc;
    doc.SetText(QStringLiteral("one\ntwo\nthree"));
    doc.Replace({0, 1}, {2, 2}, QStringLiteral("X\r\nY\rZ"));
    EXPECT_EQ(doc.Text(), QStringLiteral("oX\r\nY\r\nZree"));
    doc.BeginStep();
    doc.Replace({0, 0}, {0, 0}, QStringLiteral(">"));
    doc.Replace({2, 0}, {2, 1}, QString());
    doc.EndStep();
    EXPECT_EQ(doc.Text(), QStringLiteral(">oX\r\nY\r\nree"));
    EXPECT_EQ(doc.Undo(), (TextPos{0, 0}));  // where the step began
    EXPECT_EQ(doc.Text(), QStringLiteral("oX\r\nY\r\nZree"));
    doc.Undo();
    EXPECT_EQ(doc.Text(), QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_FALSE(doc.CanUndo());
    doc.Redo();
    doc.Redo();
    EXPECT_EQ(doc.Text(), QStringLiteral(">oX\r\nY\r\nree"));
    EXPECT_EQ(doc.OffsetOf({2, 3}), doc.Length());
}

TEST(EditorDocumentTest, ModifiedFollowsTheSavedState)
{
    EditorDocument doc;
    int changes = 0;
    QObject::connect(&doc, &EditorDocument::ModifiedChanged, [&](bool) { ++changes; });
    doc.Replace({0, 0}, {0, 0}, QStringLiteral("a"));
    EXPECT_TRUE(doc.Modified());
    doc.SetModified(false);
    doc.Replace({0, 1}, {0, 1}, QStringLiteral("b"));
    EXPECT_TRUE(doc.Modified());
    doc.Undo();
    EXPECT_FALSE(doc.Modified());
    doc.Undo();
    EXPECT_TRUE(doc.Modified());
    doc.Redo();
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(changes, 6);

    // A new edit after undoing past the saved state makes it unreachable.
    doc.Undo();
    doc.Replace({0, 0}, {0, 0}, QStringLiteral("c"));
    doc.Undo();
    EXPECT_TRUE(doc.Modified());
    doc.SetModified(true);
    EXPECT_TRUE(doc.Modified());
}

TEST(EditorDocumentTest, MergedStepsNeverSwallowTheSavedState)
{
    EditorDocument doc;
    doc.BeginStep(1);
    doc.Replace({0, 0}, {0, 0}, QStringLiteral("a"));
    doc.EndStep();
    doc.SetModified(false);
    doc.BeginStep(1);
    doc.Replace({0, 1}, {0, 1}, QStringLiteral("b"));
    doc.EndStep();
    EXPECT_TRUE(doc.Modified());
    doc.Undo();
    EXPECT_EQ(doc.Text(), QStringLiteral("a"));
    EXPECT_FALSE(doc.Modified());
}

TEST(EditorDocumentTest, FilesRoundTripByteForByte)
{
    QTemporaryDir dir;
    const QByteArray files[] = {
        QByteArray("\xEF\xBB\xBF") + QStringLiteral(u"日本語\r\nテキスト\r\n").toUtf8(),
        QByteArray("\x93\xfa\x96\x7b\x8c\xea\nabc"),  // Windows-31J, LF, no final break
        QByteArray("\xFF\xFE\x42\x30\x0D\x00\x0A\x00", 8),  // UTF-16 LE with a mark
        QByteArray(),
    };
    int n = 0;
    for (const QByteArray& bytes : files) {
        const QString in = dir.filePath(QStringLiteral("in%1.txt").arg(n));
        const QString out = dir.filePath(QStringLiteral("out%1.txt").arg(n++));
        QFile file(in);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        EditorDocument doc;
        doc.LoadFromFile(in);
        EXPECT_FALSE(doc.LoadWasLossy());
        EXPECT_FALSE(doc.Modified());
        doc.SaveToFile(out);
        QFile written(out);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), bytes) << n;
    }
}

TEST(EditorDocumentTest, FinalBreakGivesAnEmptyLastLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a\r\nb\r\n");
    file.close();
    EditorDocument doc;
    doc.LoadFromFile(path);
    ASSERT_EQ(doc.Count(), 3);
    EXPECT_EQ(doc.Text(), QStringLiteral("a\r\nb\r\n"));
}

TEST(EditorDocumentTest, AFailedLoadKeepsTheText)
{
    EditorDocument doc;
    doc.SetText(QStringLiteral("keep"));
    EXPECT_ANY_THROW(doc.LoadFromFile(QDir::tempPath() + QStringLiteral("/no-such-dir-kestrino/x.txt")));
    EXPECT_EQ(doc.Text(), QStringLiteral("keep"));
}

TEST(EditorDocumentTest, TextTheEncodingCannotHoldIsNotSavedAsQuestionMarks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sjis.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x93\xfa\x96\x7b\r\n");  // 日本, Windows-31J
    file.close();
    EditorDocument doc;
    doc.LoadFromFile(path);
    ASSERT_EQ(doc.Format().codePage, 932u);
    doc.Replace({0, 2}, {0, 2}, QStringLiteral(u"😀"));
    EXPECT_THROW(doc.SaveToFile(path), platform::Exception);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\x93\xfa\x96\x7b\r\n"));
    file.close();

    platform::TextFileFormat utf8 = doc.Format();
    utf8.codePage = 65001;
    doc.SetFormat(utf8);
    doc.SaveToFile(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QStringLiteral(u"日本😀\r\n").toUtf8());
}
