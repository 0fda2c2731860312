// Build step: draws the named toolbar icons, 16 and 32 pixels, into files of
// raw premultiplied ARGB pixels (the program shows them without decoding).
//   make_icons <output folder> <name>...
#include "toolicons.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

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
    for (int arg = 2; arg < argc; ++arg) {
        const vn::ToolIcon* icon = nullptr;
        for (int i = 0; i < count && !icon; ++i)
            if (qstrcmp(icons[i].name, argv[arg]) == 0)
                icon = &icons[i];
        if (!icon) {
            fprintf(stderr, "make_icons: no icon named %s\n", argv[arg]);
            return 1;
        }
        for (int size : {16, 32}) {
            const QString name =
                QStringLiteral("%1/icons/%2_%3.argb").arg(out, QLatin1String(icon->name)).arg(size);
            const QImage tile = vn::PaintToolIcon(*icon, size);
            QFile file(name);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(reinterpret_cast<const char*>(tile.constBits()), tile.sizeInBytes()) !=
                    tile.sizeInBytes())
                return 1;
        }
    }
    return 0;
}
