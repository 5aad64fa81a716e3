// Puts text together with an HTML version of it on the CLIPBOARD selection and keeps serving it,
// like a word processor's copy, until it is killed or another client takes the clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc < 2)
        return 2;
    const QString text = QString::fromUtf8(argv[1]);
    auto* data = new QMimeData;
    data->setText(text);
    data->setHtml(QStringLiteral("<b>%1</b>").arg(text.toHtmlEscaped()));
    QGuiApplication::clipboard()->setMimeData(data);
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &application, &QCoreApplication::quit);
    return application.exec();
}
