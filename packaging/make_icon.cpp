// make_icon <face picture> <size> <png>: the menu icon, a square crop of the oracle's face,
// size by size pixels.

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    bool sizeRead = false;
    const int size = arguments.size() == 4 ? arguments[2].toInt(&sizeRead) : 0;
    if (!sizeRead || size <= 0) {
        std::fprintf(stderr, "usage: make_icon <face picture> <size> <png>\n");
        return 2;
    }
    const QImage face(arguments[1]);
    if (face.isNull()) {
        std::fprintf(stderr, "make_icon: cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    // The mask sits in the middle of the picture; its height bounds the square.
    const int side = face.height() * 19 / 20;
    const QRect square((face.width() - side) / 2, (face.height() - side) / 2, side, side);
    const QImage icon
        = face.copy(square).scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return icon.save(arguments[3], "PNG") ? 0 : 1;
}
