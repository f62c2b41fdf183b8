// Writes the program icon as hicolor PNG files for the desktop, painted by the
// same code as the windows' icon:
//   korvel-make-icons OUTDIR SIZE...   ->   OUTDIR/<SIZE>x<SIZE>/apps/korvel.png
#include "gui/resources/AppIcon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR SIZE...\n", argv[0]);
        return 2;
    }
    // Run by the build, where there is no display to draw on.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        if (size <= 0 || !QDir().mkpath(dir)
            || !korvel::AppIconPixmap(size).save(dir + QStringLiteral("/korvel.png"), "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %s pixel icon into %s\n", argv[0], argv[i], qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
