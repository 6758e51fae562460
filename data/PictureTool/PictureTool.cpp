// Draws the program's pictures from a table (see Pictures.tsv) into a picture folder:
//   PictureTool <table> <output folder>
// Every picture of the program shares the palette below, so the pages keep one dark look.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

// The theme; Config.ini's [Option] colours use the same accent and text colours.
const QColor panelTop(0x26, 0x2A, 0x33);
const QColor panelBottom(0x1A, 0x1D, 0x23);
const QColor panelBorder(0x3A, 0x41, 0x4D);
const QColor accent(0x24, 0xB4, 0xFF);
const QColor accentLight(0x5C, 0xC8, 0xFF);
const QColor accentDark(0x16, 0x86, 0xC4);
const QColor muted(0x8A, 0x93, 0xA3);
const QColor light(0xDC, 0xE0, 0xE6);
const QColor disabledFill(0x3A, 0x3F, 0x48);

using Options = QHash<QString, QString>;

bool Fail(const QString& message)
{
    std::fprintf(stderr, "PictureTool: %s\n", qPrintable(message));
    return false;
}

void DrawPanel(QPainter& painter, const QSize& size, const Options&)
{
    const QRectF area(0, 0, size.width(), size.height());
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, panelTop);
    fill.setColorAt(1, panelBottom);
    painter.fillRect(area, fill);
    painter.setPen(QPen(panelBorder, 1));
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.fillRect(QRectF(1, 1, size.width() - 2, 2), accent);
}

void DrawClose(QPainter& painter, const QSize& size, const Options& options)
{
    const QString state = options.value(QStringLiteral("state"), QStringLiteral("normal"));
    const QRectF area(0, 0, size.width(), size.height());
    QColor cross = muted;
    if (state == QLatin1String("hover")) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(panelBorder);
        painter.drawEllipse(area.adjusted(1, 1, -1, -1));
        cross = light;
    } else if (state == QLatin1String("pressed")) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(accentDark);
        painter.drawEllipse(area.adjusted(1, 1, -1, -1));
        cross = Qt::white;
    }
    const qreal inset = size.width() * 0.32;
    painter.setPen(QPen(cross, qMax<qreal>(1.6, size.width() / 11.0), Qt::SolidLine, Qt::RoundCap));
    const QRectF box = area.adjusted(inset, inset, -inset, -inset);
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomLeft());
}

void DrawButton(QPainter& painter, const QSize& size, const Options& options)
{
    const QString state = options.value(QStringLiteral("state"), QStringLiteral("normal"));
    const QRectF area = QRectF(0, 0, size.width(), size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin<qreal>(6, size.height() / 2.0);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    QColor edge = accentDark;
    if (state == QLatin1String("pressed")) {
        fill.setColorAt(0, accentDark);
        fill.setColorAt(1, accentDark.darker(115));
        edge = accentDark.darker(130);
    } else if (state == QLatin1String("hover")) {
        fill.setColorAt(0, accentLight);
        fill.setColorAt(1, accent);
    } else if (state == QLatin1String("disabled")) {
        fill.setColorAt(0, disabledFill);
        fill.setColorAt(1, disabledFill.darker(110));
        edge = panelBorder;
    } else {
        fill.setColorAt(0, accent);
        fill.setColorAt(1, accentDark);
    }
    painter.setPen(QPen(edge, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(area, radius, radius);
}

void DrawCheck(QPainter& painter, const QSize& size, const Options& options)
{
    const bool on = options.value(QStringLiteral("state")) == QLatin1String("on");
    const QRectF area = QRectF(0, 0, size.width(), size.height()).adjusted(0.75, 0.75, -0.75, -0.75);
    painter.setPen(QPen(on ? accent : muted, 1.5));
    painter.setBrush(on ? accent : Qt::transparent);
    painter.drawRoundedRect(area, 2.5, 2.5);
    if (!on)
        return;
    QPainterPath tick;
    tick.moveTo(size.width() * 0.24, size.height() * 0.52);
    tick.lineTo(size.width() * 0.43, size.height() * 0.72);
    tick.lineTo(size.width() * 0.77, size.height() * 0.30);
    painter.setPen(QPen(Qt::white, qMax<qreal>(1.5, size.width() / 8.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
}

void DrawArrow(QPainter& painter, const QSize& size, const Options& options)
{
    const QString direction = options.value(QStringLiteral("direction"), QStringLiteral("down"));
    const QColor color(options.value(QStringLiteral("color"), light.name()));
    const qreal w = size.width(), h = size.height();
    const qreal side = qMin(w, h) * 0.6;
    const QPointF centre(w / 2, h / 2);
    QPolygonF shape;
    if (direction == QLatin1String("up"))
        shape << QPointF(-side / 2, side / 4) << QPointF(side / 2, side / 4) << QPointF(0, -side / 4);
    else if (direction == QLatin1String("left"))
        shape << QPointF(side / 4, -side / 2) << QPointF(side / 4, side / 2) << QPointF(-side / 4, 0);
    else if (direction == QLatin1String("right"))
        shape << QPointF(-side / 4, -side / 2) << QPointF(-side / 4, side / 2) << QPointF(side / 4, 0);
    else
        shape << QPointF(-side / 2, -side / 4) << QPointF(side / 2, -side / 4) << QPointF(0, side / 4);
    shape.translate(centre);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(shape);
}

void DrawSolid(QPainter& painter, const QSize& size, const Options& options)
{
    painter.fillRect(QRect(QPoint(0, 0), size), QColor(options.value(QStringLiteral("color"), panelBottom.name())));
}

using Drawer = std::function<void(QPainter&, const QSize&, const Options&)>;

const QHash<QString, Drawer>& Drawers()
{
    static const QHash<QString, Drawer> drawers = {
        {QStringLiteral("panel"), DrawPanel},   {QStringLiteral("close"), DrawClose},
        {QStringLiteral("button"), DrawButton}, {QStringLiteral("check"), DrawCheck},
        {QStringLiteral("arrow"), DrawArrow},   {QStringLiteral("solid"), DrawSolid},
    };
    return drawers;
}

bool DrawRow(const QString& row, int lineNumber, const QString& outputFolder)
{
    const QStringList fields = row.split(QRegExp(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const QString where = QStringLiteral("line %1: ").arg(lineNumber);
    if (fields.size() < 4)
        return Fail(where + QStringLiteral("expected a path, a width, a height and a kind"));
    bool widthOk = false, heightOk = false;
    const QSize size(fields.at(1).toInt(&widthOk), fields.at(2).toInt(&heightOk));
    if (!widthOk || !heightOk || size.width() <= 0 || size.height() <= 0 || size.width() > 4096 || size.height() > 4096)
        return Fail(where + QStringLiteral("bad size"));
    const auto drawer = Drawers().constFind(fields.at(3));
    if (drawer == Drawers().constEnd())
        return Fail(where + QStringLiteral("unknown kind ") + fields.at(3));
    Options options;
    for (int i = 4; i < fields.size(); ++i) {
        const int equals = fields.at(i).indexOf(QLatin1Char('='));
        if (equals <= 0)
            return Fail(where + QStringLiteral("option without a value: ") + fields.at(i));
        options.insert(fields.at(i).left(equals), fields.at(i).mid(equals + 1));
    }
    const QString path = fields.at(0);
    if (path.startsWith(QLatin1Char('/')) || path.contains(QLatin1String("..")))
        return Fail(where + QStringLiteral("the path must stay inside the picture folder"));

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        (*drawer)(painter, size, options);
    }
    const QString target = outputFolder + QLatin1Char('/') + path;
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (!image.save(target, "PNG"))
        return Fail(where + QStringLiteral("cannot write ") + target);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // The build machine may have no display; the pictures never need one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: PictureTool <table> <output folder>\n");
        return 2;
    }
    QFile table(QString::fromLocal8Bit(argv[1]));
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text))
        return Fail(QStringLiteral("cannot read ") + table.fileName()) ? 0 : 1;
    const QString outputFolder = QString::fromLocal8Bit(argv[2]);
    QTextStream rows(&table);
    rows.setCodec("UTF-8");
    bool ok = true;
    int lineNumber = 0;
    while (!rows.atEnd()) {
        const QString row = rows.readLine().trimmed();
        ++lineNumber;
        if (row.isEmpty() || row.startsWith(QLatin1Char('#')))
            continue;
        ok = DrawRow(row, lineNumber, outputFolder) && ok;
    }
    return ok ? 0 : 1;
}
