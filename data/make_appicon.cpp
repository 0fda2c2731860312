// Build step: draws the icons of the installed program from the one drawing
// the program itself uses.
//   make_appicon <output folder>
// writes <output folder>/scalable/apps/velnote.svg and
// <output folder>/<N>x<N>/apps/velnote.png for the usual hicolor sizes.
#include "platform/memopadglyph.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_appicon <output folder>\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        QDir().mkpath(dir);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            vn::PaintMemoPad(p, size);
        }
        if (!image.save(dir + QStringLiteral("/velnote.png"))) {
            std::fprintf(stderr, "make_appicon: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    const QString scalable = out + QStringLiteral("/scalable/apps");
    QDir().mkpath(scalable);
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(64, 64));
    svg.setViewBox(QRect(0, 0, 64, 64));
    svg.setTitle(QStringLiteral("Velnote"));
    svg.setDescription(QStringLiteral("A yellow memo pad"));
    {
        QPainter p(&svg);
        vn::PaintMemoPad(p, 64);
    }
    // The generator gives the size in millimetres; icon themes want pixels.
    QString svgText = QString::fromUtf8(buffer.data());
    svgText.replace(QRegularExpression(QStringLiteral(R"(width="[0-9.]+mm" height="[0-9.]+mm")")),
                    QStringLiteral(R"(width="64" height="64")"));
    const QByteArray text = svgText.toUtf8();
    QFile file(scalable + QStringLiteral("/velnote.svg"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
        std::fprintf(stderr, "make_appicon: cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    return 0;
}
