// lumisong-skin FOLDER: draws the pictures of the program's own skin into
// FOLDER as PNG files: the title strip (29 x 29), the body (79 x 79) and the
// bottom strip (31 x 31), which the windows stretch to their width, the
// program icon in several sizes, and the minimise and close glyphs of the
// frame buttons in their normal, hot and down looks. Everything is drawn
// here; the output is the same on every run.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// The skin's blues, light enough for the black title and status texts.
const QColor Outline(0x6f, 0x9c, 0xd8);
const QColor Highlight(0xfb, 0xfd, 0xff);

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A vertical gradient: stretching it to any width keeps its look.
void verticalGradient(QImage &image, const QList<std::pair<qreal, QColor>> &stops)
{
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, image.height());
    for (const auto &[at, colour] : stops)
        gradient.setColorAt(at, colour);
    p.fillRect(image.rect(), gradient);
}

void horizontalLine(QImage &image, int y, const QColor &colour)
{
    QPainter p(&image);
    p.fillRect(QRect(0, y, image.width(), 1), colour);
}

QImage titleStrip()
{
    QImage image = canvas(29, 29);
    verticalGradient(image, {{0.0, QColor(0xe9, 0xf3, 0xff)},
                             {0.45, QColor(0xd3, 0xe6, 0xfd)},
                             {0.55, QColor(0xc2, 0xdb, 0xfa)},
                             {1.0, QColor(0xb3, 0xd0, 0xf5)}});
    horizontalLine(image, 0, Highlight);
    horizontalLine(image, 28, Outline);
    return image;
}

QImage body()
{
    QImage image = canvas(79, 79);
    verticalGradient(image, {{0.0, QColor(0xf6, 0xfa, 0xff)}, {1.0, QColor(0xe4, 0xee, 0xfb)}});
    return image;
}

QImage bottomStrip()
{
    QImage image = canvas(31, 31);
    verticalGradient(image, {{0.0, QColor(0xd8, 0xe7, 0xfb)}, {1.0, QColor(0xb8, 0xd2, 0xf4)}});
    horizontalLine(image, 0, Outline);
    horizontalLine(image, 1, Highlight);
    return image;
}

// The program icon: two beamed quavers on a rounded blue tile, drawn at
// 256 pixels and scaled down smoothly.
QImage icon(int size)
{
    QImage big = canvas(256, 256);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient tile(0, 0, 256, 256);
        tile.setColorAt(0.0, QColor(0x4a, 0x9c, 0xf0));
        tile.setColorAt(1.0, QColor(0x17, 0x52, 0xa6));
        p.setPen(QPen(QColor(0x0f, 0x3d, 0x80), 6));
        p.setBrush(tile);
        p.drawRoundedRect(QRectF(8, 8, 240, 240), 52, 52);

        QLinearGradient gloss(0, 8, 0, 128);
        gloss.setColorAt(0.0, QColor(255, 255, 255, 110));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(gloss);
        p.drawRoundedRect(QRectF(14, 14, 228, 110), 46, 46);

        p.setBrush(Qt::white);
        const auto noteHead = [&p](qreal x, qreal y) {
            p.save();
            p.translate(x, y);
            p.rotate(-22);
            p.drawEllipse(QRectF(-30, -21, 60, 42));
            p.restore();
        };
        noteHead(82, 186);
        noteHead(178, 166);
        p.drawRect(QRectF(100, 64, 14, 122)); // left stem
        p.drawRect(QRectF(196, 44, 14, 122)); // right stem
        QPainterPath beam;
        beam.moveTo(100, 64);
        beam.lineTo(210, 40);
        beam.lineTo(210, 74);
        beam.lineTo(100, 98);
        beam.closeSubpath();
        p.drawPath(beam);
    }
    if (size == 256)
        return big;
    return big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

enum class Glyph { Minimise, Close };

// A frame-button glyph, 9 x 9 pixels on a transparent ground.
QImage glyph(Glyph kind, const QColor &colour)
{
    QImage image = canvas(9, 9);
    QPainter p(&image);
    if (kind == Glyph::Minimise) {
        p.fillRect(QRect(1, 6, 7, 2), colour);
        return image;
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(1, 1), QPointF(8, 8));
    p.drawLine(QPointF(8, 1), QPointF(1, 8));
    return image;
}

bool save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    if (image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG"))
        return true;
    std::fprintf(stderr, "lumisong-skin: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumisong-skin FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "lumisong-skin: cannot make %s\n", argv[1]);
        return 1;
    }
    bool ok = save(titleStrip(), folder, QStringLiteral("title.png")) &&
              save(body(), folder, QStringLiteral("body.png")) &&
              save(bottomStrip(), folder, QStringLiteral("bottom.png"));
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok = ok && save(icon(size), folder, QStringLiteral("icon-%1.png").arg(size));

    const struct
    {
        const char *name;
        Glyph kind;
        QColor normal, hot, down;
    } glyphs[] = {
        {"min", Glyph::Minimise, QColor(0x2c, 0x4c, 0x7a), QColor(0x0b, 0x5c, 0xc8),
         QColor(0x08, 0x2a, 0x5c)},
        {"close", Glyph::Close, QColor(0x2c, 0x4c, 0x7a), QColor(0xc6, 0x2b, 0x22),
         QColor(0x86, 0x1a, 0x13)},
    };
    for (const auto &g : glyphs) {
        const QString base = QString::fromLatin1(g.name);
        ok = ok && save(glyph(g.kind, g.normal), folder, base + QStringLiteral("-normal.png")) &&
             save(glyph(g.kind, g.hot), folder, base + QStringLiteral("-hot.png")) &&
             save(glyph(g.kind, g.down), folder, base + QStringLiteral("-down.png"));
    }
    return ok ? 0 : 1;
}
