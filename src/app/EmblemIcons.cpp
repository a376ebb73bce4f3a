// Build tool: writes the program's emblem as the desktop icon, one PNG per size of the hicolor theme.
//   virelan_icons <output folder> <icon name> <size>...
// gives <output folder>/<size>x<size>/apps/<icon name>.png for each size.
#include "app/Emblem.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: virelan_icons <output folder> <icon name> <size>...\n");
        return 2;
    }
    for (const QString& sizeText : args.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "virelan_icons: not a size: %s\n", qPrintable(sizeText));
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(size);
        if (!QDir().mkpath(folder) || !emblem::picture(size, size).save(folder + QLatin1Char('/') + args[2] + ".png")) {
            std::fprintf(stderr, "virelan_icons: cannot write the %d pixel icon in %s\n", size, qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
