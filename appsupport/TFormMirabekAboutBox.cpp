#include "appsupport/TFormMirabekAboutBox.h"

#include "appsupport/TkAppInfo.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QUrl>
#include <QVBoxLayout>

namespace appsupport {

namespace {

const QString MakerAddress = QStringLiteral("https://kestrino.example.org/");
constexpr int IconSize = 32;

QPixmap RenderProgramIcon(qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(IconSize, IconSize) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer(QStringLiteral(":/appsupport/ProgramIcon.svg")).render(&painter, QRectF(0, 0, IconSize, IconSize));
    return pixmap;
}

QLabel* NamedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    return label;
}

}  // namespace

TFormMirabekAboutBox::TFormMirabekAboutBox(QWidget* owner)
    : QDialog(owner)
{
    // Read first: without version information the box is not built at all.
    const TkAppInfo appInfo;

    setObjectName(QStringLiteral("FormMirabekAboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    ProgramIcon = NamedLabel(QStringLiteral("ProgramIcon"), QString(), Panel1);
    ProgramIcon->setFixedSize(IconSize, IconSize);
    ProgramIcon->setPixmap(RenderProgramIcon(devicePixelRatioF()));

    ProductName = NamedLabel(QStringLiteral("ProductName"), QGuiApplication::applicationDisplayName(), Panel1);
    Version = NamedLabel(QStringLiteral("Version"), appInfo.GetValue(TVersionValue::FileVersion), Panel1);
    Copyright = NamedLabel(QStringLiteral("Copyright"), appInfo.GetValue(TVersionValue::LegalCopyright), Panel1);
    Comments = NamedLabel(QStringLiteral("Comments"), appInfo.GetValue(TVersionValue::FileDescription), Panel1);
    Comments->setFixedWidth(265);
    Comments->setWordWrap(true);

    LabelURL = NamedLabel(QStringLiteral("LabelURL"), MakerAddress, Panel1);
    LabelURL->setCursor(Qt::PointingHandCursor);
    QFont linkFont = LabelURL->font();
    linkFont.setUnderline(true);
    LabelURL->setFont(linkFont);
    QPalette linkPalette = LabelURL->palette();
    linkPalette.setColor(QPalette::WindowText, Qt::blue);
    LabelURL->setPalette(linkPalette);
    LabelURL->installEventFilter(this);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(ProgramIcon, 0, Qt::AlignTop);
    auto* titleColumn = new QVBoxLayout;
    titleColumn->addWidget(ProductName);
    titleColumn->addWidget(Version);
    titleRow->addLayout(titleColumn, 1);

    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->addLayout(titleRow);
    panelLayout->addWidget(Copyright);
    panelLayout->addWidget(Comments);
    panelLayout->addStretch(1);
    panelLayout->addWidget(LabelURL);

    auto* formLayout = new QVBoxLayout(this);
    formLayout->addWidget(Panel1, 1);
    formLayout->addWidget(OKButton, 0, Qt::AlignHCenter);

    setFixedSize(sizeHint().expandedTo(QSize(298, 213)));
    if (const QScreen* screen = this->screen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TFormMirabekAboutBox::LabelURLClick()
{
    QDesktopServices::openUrl(QUrl(LabelURL->text()));
}

bool TFormMirabekAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LabelURL && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        LabelURLClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace appsupport
