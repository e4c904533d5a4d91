#include "generator/ContactSheet.h"

#include "MouthPictures.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kSheetWidth = 1500;
constexpr int kMargin = 14;
constexpr int kCaption = 34;
constexpr int kFramesShown = 4;

struct Tile {
    QString caption;
    QList<QImage> frames;
};

Tile load(const QString& path)
{
    QImageReader reader(path);
    Tile tile;
    const int count = reader.imageCount();
    QImage frame;
    while (tile.frames.size() < kFramesShown && reader.read(&frame))
        tile.frames << frame;
    const QSize size = tile.frames.isEmpty() ? QSize() : tile.frames.first().size();
    tile.caption = QStringLiteral("%1  %2x%3")
                       .arg(QFileInfo(path).fileName())
                       .arg(size.width())
                       .arg(size.height());
    if (count > 1)
        tile.caption += QStringLiteral("  %1 frames, loop %2").arg(count).arg(reader.loopCount());
    return tile;
}

// Each mouth as the stage shows it, laid over the face, twice the size: it must read as the
// face itself moving, with no seam around the crop.
QList<Tile> mouthsOverFace(const QDir& picturesDir)
{
    const QImage face(picturesDir.filePath("face.jpg"));
    const QRect around = kMouthInFace.adjusted(-24, -24, 24, 24);
    QList<Tile> tiles;
    for (const char* name : kMouthPictures) {
        QImage spoken = face.convertToFormat(QImage::Format_RGB32);
        QPainter(&spoken).drawImage(kMouthInFace.topLeft(), QImage(picturesDir.filePath(name)));
        tiles << Tile { QStringLiteral("%1 over face.jpg, 2x").arg(QLatin1String(name)),
            { spoken.copy(around).scaled(around.size() * 2) } };
    }
    return tiles;
}

QSize tileSize(const Tile& tile)
{
    int width = 0;
    int height = 0;
    for (const QImage& frame : tile.frames) {
        width += frame.width() + 4;
        height = std::max(height, frame.height());
    }
    return { std::max(width, 230), height + kCaption };
}

}

bool writeContactSheet(const QString& path, const QDir& appDir, const QDir& picturesDir)
{
    QList<Tile> tiles;
    const QStringList filters { "*.gif", "*.png", "*.jpg" };
    for (const QDir& dir : { picturesDir, appDir }) {
        for (const QString& name : dir.entryList(filters, QDir::Files, QDir::Name))
            tiles << load(dir.filePath(name));
    }
    tiles << mouthsOverFace(picturesDir);
    QList<QPoint> places;
    int x = kMargin;
    int y = kMargin;
    int rowHeight = 0;
    for (const Tile& tile : tiles) {
        const QSize size = tileSize(tile);
        if (x + size.width() > kSheetWidth - kMargin) {
            x = kMargin;
            y += rowHeight + kMargin;
            rowHeight = 0;
        }
        places << QPoint(x, y);
        x += size.width() + kMargin;
        rowHeight = std::max(rowHeight, size.height());
    }
    QImage sheet(kSheetWidth, y + rowHeight + kMargin, QImage::Format_RGB32);
    sheet.fill(QColor(40, 40, 44));
    QPainter painter(&sheet);
    painter.setFont(QFont("DejaVu Sans", 9));
    for (qsizetype i = 0; i < tiles.size(); ++i) {
        QPoint at = places[i];
        painter.setPen(QColor(220, 220, 220));
        painter.drawText(
            QRect(at, QSize(600, kCaption - 4)), Qt::AlignLeft | Qt::AlignBottom, tiles[i].caption);
        at.ry() += kCaption;
        for (const QImage& frame : tiles[i].frames) {
            painter.drawImage(at, frame);
            at.rx() += frame.width() + 4;
        }
    }
    return sheet.save(path);
}
