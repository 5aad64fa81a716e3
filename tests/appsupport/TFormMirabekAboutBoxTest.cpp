// Built twice, carrying Mirabek's or Pavlune's version information (KESTRINO_TEST_PROGRAM).
#include "appsupport/TFormMirabekAboutBox.h"
#include "appsupport/TkAppInfo.h"
#include "AboutBoxTestApp.h"

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>

using namespace appsupport;

namespace {

const QString Copyright = QStringLiteral("Copyright (C) 2026 The Kestrino developers");

struct ProgramValues {
    QString productName;
    QString fileVersion;
    QString description;
    QString companyName;
};

const ProgramValues& Expected()
{
    static const std::map<QString, ProgramValues> programs = {
        {QStringLiteral("Mirabek"),
         {QStringLiteral("Mirabek"), QStringLiteral("1.5.0.0"), QStringLiteral("文字の変換を行うソフトです。"), QString()}},
        {QStringLiteral("Pavlune"),
         {QStringLiteral("Pavlune"), QStringLiteral("1.6.0.0"), QStringLiteral("クリップボードの文字列を変換します。"),
          QStringLiteral("The Kestrino developers")}},
    };
    return programs.at(QStringLiteral(KESTRINO_TEST_PROGRAM));
}

// Receives the addresses the about box hands to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OffscreenApplication();
        QGuiApplication::setApplicationDisplayName(Expected().productName);
    }
};

}  // namespace

TEST_F(AboutBoxTest, TheExecutableCarriesItsVersionValues)
{
    const TkAppInfo info;
    EXPECT_EQ(info.Translation, 0x03A40411u);
    const std::pair<TVersionValue, QString> values[] = {
        {TVersionValue::Comments, QString()},
        {TVersionValue::CompanyName, Expected().companyName},
        {TVersionValue::FileDescription, Expected().description},
        {TVersionValue::FileVersion, Expected().fileVersion},
        {TVersionValue::InternalName, QString()},
        {TVersionValue::LegalCopyright, Copyright},
        {TVersionValue::LegalTradeMarks, QString()},
        {TVersionValue::OriginalFilename, QString()},
        {TVersionValue::PrivateBuild, QString()},
        {TVersionValue::ProductName, Expected().productName},
        {TVersionValue::ProductVersion, QStringLiteral("1.0.0.0")},
    };
    for (const auto& [kind, expected] : values)
        EXPECT_EQ(info.GetValue(kind), expected) << static_cast<int>(kind);
}

TEST_F(AboutBoxTest, ShowsTheTitleVersionCopyrightAndDescription)
{
    TFormMirabekAboutBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報"));
    const std::pair<const char*, QString> labels[] = {
        {"ProductName", Expected().productName},
        {"Version", Expected().fileVersion},
        {"Copyright", Copyright},
        {"Comments", Expected().description},
    };
    for (const auto& [name, text] : labels) {
        const auto* label = box.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), text) << name;
    }
    for (const char* name : {"Panel1", "ProgramIcon", "LabelURL", "OKButton"})
        EXPECT_NE(box.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(box.Comments->width(), 265);
    EXPECT_TRUE(box.Comments->wordWrap());
}

TEST_F(AboutBoxTest, TheFirstLabelIsTheApplicationTitleNotTheProductName)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("別の題名"));
    TFormMirabekAboutBox box(nullptr);
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("別の題名"));
}

TEST_F(AboutBoxTest, TheProgramIconIsDrawn)
{
    TFormMirabekAboutBox box(nullptr);
    const QImage icon = box.ProgramIcon->pixmap().toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(box.ProgramIcon->size(), QSize(32, 32));
    int opaque = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            opaque += qAlpha(icon.pixel(x, y)) == 255;
    EXPECT_GT(opaque, icon.width() * icon.height() / 2);
}

TEST_F(AboutBoxTest, ClickingTheAddressOpensItInTheBrowser)
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    TFormMirabekAboutBox box(nullptr);
    box.show();
    EXPECT_EQ(box.LabelURL->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(box.LabelURL->font().underline());

    QTest::mouseClick(box.LabelURL, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.front(), QUrl(box.LabelURL->text()));
    EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutBoxTest, OkIsTheDefaultButtonAndClosesTheBox)
{
    TFormMirabekAboutBox box(nullptr);
    EXPECT_TRUE(box.OKButton->isDefault());
    QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

#include "TFormMirabekAboutBoxTest.moc"
