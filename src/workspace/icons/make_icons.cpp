// Build step: draws the toolbar icons into PNG files and writes the resource
// list that compiles them into the program.
//   make_icons <output folder>
#include "toolicons.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out + QStringLiteral("/icons"));
    int count = 0;
    const vn::ToolIcon* icons = vn::ToolIcons(&count);
    QByteArray qrc = "<RCC>\n  <qresource prefix=\"/\">\n";
    for (int i = 0; i < count; ++i) {
        for (int size : {16, 32}) {
            const QString name =
                QStringLiteral("icons/%1_%2.png").arg(QLatin1String(icons[i].name)).arg(size);
            if (!vn::PaintToolIcon(icons[i], size).save(out + u'/' + name))
                return 1;
            qrc += "    <file>" + name.toUtf8() + "</file>\n";
        }
    }
    qrc += "  </qresource>\n</RCC>\n";
    QFile f(out + QStringLiteral("/toolicons.qrc"));
    if (!f.open(QIODevice::WriteOnly) || f.write(qrc) != qrc.size())
        return 1;
    return 0;
}
