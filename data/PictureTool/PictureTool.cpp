// Draws the program's pictures from a table (see Pictures.tsv) into a picture folder:
//   PictureTool <table> <output folder>
// Every picture of the program shares the palette below, so the pages keep one dark look.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
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

// Every hue from red through the spectrum back to red, left to right: a colour board to pick from.
void DrawHues(QPainter& painter, const QSize& size, const Options&)
{
    QLinearGradient gradient(0, 0, size.width(), 0);
    for (int step = 0; step <= 6; ++step)
        gradient.setColorAt(step / 6.0, QColor::fromHsv((step * 60) % 360, 255, 255));
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
}

// Bands of equal height from top to bottom, one per colour of colors=#rrggbb,#rrggbb,...
void DrawBands(QPainter& painter, const QSize& size, const Options& options)
{
    const QStringList colors = options.value(QStringLiteral("colors")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int i = 0; i < colors.size(); ++i) {
        const int top = size.height() * i / colors.size();
        const int bottom = size.height() * (i + 1) / colors.size();
        painter.fillRect(QRect(0, top, size.width(), bottom - top), QColor(colors.at(i)));
    }
}

// Line symbols of the window's icons, drawn in a 24 x 24 grid centred in the picture (battery and
// charge use the whole picture). state=normal|hover|active picks muted, light or accent; color=#rrggbb
// overrides it.
void DrawSymbol(QPainter& painter, const QSize& size, const Options& options)
{
    const QString shape = options.value(QStringLiteral("shape"));
    const QString state = options.value(QStringLiteral("state"), QStringLiteral("normal"));
    QColor color = state == QLatin1String("active") ? accent : state == QLatin1String("hover") ? light : muted;
    if (options.contains(QStringLiteral("color")))
        color = QColor(options.value(QStringLiteral("color")));
    const qreal w = size.width(), h = size.height();

    if (shape == QLatin1String("battery")) {
        painter.setPen(QPen(color, 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(0.6, 0.6, w - 4.6, h - 1.2), 2.5, 2.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawRoundedRect(QRectF(w - 3.2, h * 0.3, 3.0, h * 0.4), 1, 1);
        return;
    }
    if (shape == QLatin1String("charge")) {
        QPolygonF bolt;
        bolt << QPointF(0, h * 0.55) << QPointF(w * 0.55, 0) << QPointF(w * 0.48, h * 0.42) << QPointF(w, h * 0.45)
             << QPointF(w * 0.45, h) << QPointF(w * 0.52, h * 0.58);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawPolygon(bolt);
        return;
    }

    const qreal side = qMin(w, h);
    painter.translate((w - side) / 2, (h - side) / 2);
    painter.scale(side / 24.0, side / 24.0);
    QPen pen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    if (shape == QLatin1String("summary")) {
        for (const QPointF& corner : {QPointF(4, 4), QPointF(13, 4), QPointF(4, 13), QPointF(13, 13)})
            painter.drawRoundedRect(QRectF(corner, QSizeF(7, 7)), 1.5, 1.5);
    } else if (shape == QLatin1String("mouse")) {
        const bool large = side > 100;
        if (large) {
            // The summary page's picture: a filled body with the accent on wheel and seam.
            QLinearGradient body(QPointF(12, 2), QPointF(12, 22));
            body.setColorAt(0, panelBorder);
            body.setColorAt(1, panelBottom);
            painter.setBrush(body);
            painter.setPen(QPen(color, 0.35));
            painter.drawRoundedRect(QRectF(6.5, 2, 11, 20), 5.5, 5.5);
            painter.setPen(QPen(color, 0.25));
            painter.drawLine(QPointF(12, 2), QPointF(12, 9));
            painter.drawLine(QPointF(7.2, 10), QPointF(16.8, 10));
            painter.setPen(Qt::NoPen);
            painter.setBrush(color);
            painter.drawRoundedRect(QRectF(11.35, 4, 1.3, 3.2), 0.6, 0.6);
            painter.setBrush(color.darker(160));
            painter.drawRoundedRect(QRectF(9, 17.6, 6, 0.5), 0.25, 0.25);
        } else {
            painter.drawRoundedRect(QRectF(6.5, 2.5, 11, 19), 5.5, 5.5);
            painter.drawLine(QPointF(12, 2.5), QPointF(12, 9));
            painter.drawLine(QPointF(6.5, 9.5), QPointF(17.5, 9.5));
        }
    } else if (shape == QLatin1String("sensor")) {
        painter.drawEllipse(QPointF(12, 12), 7, 7);
        painter.drawLine(QPointF(12, 2), QPointF(12, 7));
        painter.drawLine(QPointF(12, 17), QPointF(12, 22));
        painter.drawLine(QPointF(2, 12), QPointF(7, 12));
        painter.drawLine(QPointF(17, 12), QPointF(22, 12));
        painter.setBrush(color);
        painter.drawEllipse(QPointF(12, 12), 1.3, 1.3);
    } else if (shape == QLatin1String("keyboard")) {
        painter.drawRoundedRect(QRectF(2.5, 6, 19, 12), 2, 2);
        painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (int column = 0; column < 5; ++column) {
            painter.drawPoint(QPointF(6 + column * 3, 9.5));
            painter.drawPoint(QPointF(6 + column * 3, 12));
        }
        painter.drawLine(QPointF(8, 15), QPointF(16, 15));
    } else if (shape == QLatin1String("light")) {
        QPainterPath bulb;
        bulb.moveTo(9.5, 16);
        bulb.cubicTo(9.5, 13, 6, 12, 6, 8.5);
        bulb.arcTo(QRectF(6, 2.5, 12, 12), 180, -180);
        bulb.cubicTo(18, 12, 14.5, 13, 14.5, 16);
        bulb.closeSubpath();
        painter.drawPath(bulb);
        painter.drawLine(QPointF(9.5, 18.5), QPointF(14.5, 18.5));
        painter.drawLine(QPointF(10.5, 21), QPointF(13.5, 21));
    } else if (shape == QLatin1String("sliders")) {
        const qreal knobs[3] = {8, 15, 11};
        for (int row = 0; row < 3; ++row) {
            const qreal y = 6 + row * 6;
            painter.drawLine(QPointF(3, y), QPointF(21, y));
            painter.setBrush(panelBottom);
            painter.drawEllipse(QPointF(knobs[row], y), 2.2, 2.2);
        }
    } else if (shape == QLatin1String("gear")) {
        QPainterPath teeth;
        for (int tooth = 0; tooth < 8; ++tooth) {
            QTransform turn;
            turn.translate(12, 12);
            turn.rotate(tooth * 45);
            teeth.addPolygon(turn.map(QPolygonF(QRectF(-1.6, -9.5, 3.2, 4))));
            teeth.closeSubpath();
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawPath(teeth);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(12, 12), 6.2, 6.2);
        painter.drawEllipse(QPointF(12, 12), 2.4, 2.4);
    } else if (shape == QLatin1String("minus")) {
        painter.drawLine(QPointF(7, 12), QPointF(17, 12));
    } else if (shape == QLatin1String("back")) {
        painter.drawLine(QPointF(18, 12), QPointF(6, 12));
        painter.drawLine(QPointF(11, 7), QPointF(6, 12));
        painter.drawLine(QPointF(11, 17), QPointF(6, 12));
    } else if (shape == QLatin1String("usb")) {
        painter.drawLine(QPointF(12, 4), QPointF(12, 19));
        painter.drawLine(QPointF(12, 15), QPointF(7.5, 12.5));
        painter.drawLine(QPointF(7.5, 12.5), QPointF(7.5, 10));
        painter.drawLine(QPointF(12, 13), QPointF(16.5, 10.5));
        painter.drawLine(QPointF(16.5, 10.5), QPointF(16.5, 8.5));
        painter.setBrush(color);
        painter.drawEllipse(QPointF(12, 20), 1.8, 1.8);
        painter.drawRect(QRectF(6.3, 8, 2.4, 2.4));
        painter.drawEllipse(QPointF(16.5, 7.5), 1.3, 1.3);
        painter.drawPolygon(QPolygonF() << QPointF(12, 2) << QPointF(10, 5) << QPointF(14, 5));
    } else if (shape == QLatin1String("wireless")) {
        for (const qreal radius : {4.0, 8.0, 12.0})
            painter.drawArc(QRectF(12 - radius, 19 - radius, 2 * radius, 2 * radius), 45 * 16, 90 * 16);
        painter.setBrush(color);
        painter.drawEllipse(QPointF(12, 19), 1.3, 1.3);
    } else if (shape == QLatin1String("dot")) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(QPointF(12, 12), 10, 10);
    }
}

// Text fitted into a box: bold, at most fraction of the box height, shrunk until it fits the width.
void DrawFittedText(QPainter& painter, const QRectF& box, const QString& text, const QColor& color, qreal fraction)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    qreal pixels = qMax<qreal>(6, box.height() * fraction);
    font.setPixelSize(int(pixels));
    while (pixels > 6 && QFontMetricsF(font).horizontalAdvance(text) > box.width() * 0.86) {
        pixels -= 1;
        font.setPixelSize(int(pixels));
    }
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, Qt::AlignCenter, text);
}

// A rounded badge with a short text:  text=1KHz  fill=#rrggbb  color=#rrggbb
void DrawBadge(QPainter& painter, const QSize& size, const Options& options)
{
    const QRectF area = QRectF(0, 0, size.width(), size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor fill(options.value(QStringLiteral("fill"), accent.name()));
    const qreal radius = qMin<qreal>(6, size.height() / 2.0);
    painter.setPen(QPen(fill.darker(130), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(area, radius, radius);
    DrawFittedText(painter, area, options.value(QStringLiteral("text")),
                   QColor(options.value(QStringLiteral("color"), QStringLiteral("#ffffff"))), 0.5);
}

// A window-button glyph with the close button's hover and pressed looks:  text=—  state=...
void DrawGlyph(QPainter& painter, const QSize& size, const Options& options)
{
    const QString state = options.value(QStringLiteral("state"), QStringLiteral("normal"));
    const QRectF area(0, 0, size.width(), size.height());
    QColor color(options.value(QStringLiteral("color"), muted.name()));
    if (state == QLatin1String("hover") || state == QLatin1String("pressed")) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(state == QLatin1String("hover") ? panelBorder : accentDark);
        painter.drawEllipse(area.adjusted(1, 1, -1, -1));
        color = state == QLatin1String("hover") ? light : QColor(Qt::white);
    }
    DrawFittedText(painter, area, options.value(QStringLiteral("text")), color, 0.7);
}

// The sign of a step button, minus or plus, as crisp bars of one weight on whole pixels, so that the
// two buttons of a pair look alike:  sign=minus|plus  color=#rrggbb
void DrawStep(QPainter& painter, const QSize& size, const Options& options)
{
    const QColor color(options.value(QStringLiteral("color"), light.name()));
    const int side = qMin(size.width(), size.height());
    const int stroke = qMax(2, side / 7);
    const int arm = side - 2 * ((side - stroke) / 4);
    // Odd and even sides centre differently: the bar takes the parity of the side.
    const int bar = stroke + (side - stroke) % 2;
    painter.fillRect(QRect((size.width() - arm) / 2, (size.height() - bar) / 2, arm, bar), color);
    if (options.value(QStringLiteral("sign")) == QLatin1String("plus"))
        painter.fillRect(QRect((size.width() - bar) / 2, (size.height() - arm) / 2, bar, arm), color);
}

// The picture of a device button: a mouse seen from above.  state=online|offline|unknown  variant=0|1|2
void DrawMouse(QPainter& painter, const QSize& size, const Options& options)
{
    const QString state = options.value(QStringLiteral("state"), QStringLiteral("online"));
    const int variant = options.value(QStringLiteral("variant"), QStringLiteral("0")).toInt();
    const bool online = state == QLatin1String("online");
    const bool unknown = state == QLatin1String("unknown");
    const qreal w = size.width(), h = size.height();

    // The card behind the mouse.
    const QRectF card = QRectF(0, 0, w, h).adjusted(6, 6, -6, -6);
    QLinearGradient cardFill(card.topLeft(), card.bottomLeft());
    cardFill.setColorAt(0, panelTop.lighter(online ? 125 : 110));
    cardFill.setColorAt(1, panelBottom);
    painter.setPen(QPen(online ? accentDark : panelBorder, 1.5));
    painter.setBrush(cardFill);
    painter.drawRoundedRect(card, 14, 14);

    // The body: narrower at the front, rounder at the back; each variant its own proportions.
    const qreal bodyWidth = w * (variant == 1 ? 0.46 : variant == 2 ? 0.50 : 0.42);
    const qreal bodyHeight = h * (variant == 2 ? 0.56 : 0.60);
    const QPointF centre(w / 2, h * 0.47);
    const QRectF body(centre.x() - bodyWidth / 2, centre.y() - bodyHeight / 2, bodyWidth, bodyHeight);
    QPainterPath shell;
    shell.moveTo(body.center().x(), body.top());
    shell.cubicTo(body.right() - bodyWidth * 0.05, body.top(), body.right(), body.top() + bodyHeight * 0.25,
                  body.right(), body.top() + bodyHeight * 0.55);
    shell.cubicTo(body.right(), body.bottom() - bodyHeight * 0.05, body.center().x() + bodyWidth * 0.3, body.bottom(),
                  body.center().x(), body.bottom());
    shell.cubicTo(body.center().x() - bodyWidth * 0.3, body.bottom(), body.left(), body.bottom() - bodyHeight * 0.05,
                  body.left(), body.top() + bodyHeight * 0.55);
    shell.cubicTo(body.left(), body.top() + bodyHeight * 0.25, body.left() + bodyWidth * 0.05, body.top(),
                  body.center().x(), body.top());

    const QColor edge = online ? accent : muted.darker(130);
    if (unknown) {
        painter.setPen(QPen(muted, 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shell);
        DrawFittedText(painter, QRectF(body.left(), body.top() + bodyHeight * 0.3, bodyWidth, bodyHeight * 0.4),
                       QStringLiteral("?"), muted, 0.8);
        return;
    }
    QLinearGradient shellFill(body.topLeft(), body.bottomRight());
    shellFill.setColorAt(0, online ? QColor(0x3C, 0x43, 0x50) : QColor(0x30, 0x33, 0x3A));
    shellFill.setColorAt(1, online ? QColor(0x1E, 0x22, 0x29) : QColor(0x22, 0x24, 0x28));
    painter.setPen(QPen(edge, 2));
    painter.setBrush(shellFill);
    painter.drawPath(shell);

    // Button split, wheel and the light strip of the back.
    const qreal splitEnd = body.top() + bodyHeight * 0.40;
    painter.setPen(QPen(online ? panelBorder.lighter(140) : panelBorder, 1.5));
    painter.drawLine(QPointF(body.center().x(), body.top() + 2), QPointF(body.center().x(), splitEnd));
    painter.drawLine(QPointF(body.left() + bodyWidth * 0.04, splitEnd - bodyHeight * 0.02),
                     QPointF(body.right() - bodyWidth * 0.04, splitEnd - bodyHeight * 0.02));
    const QRectF wheel(body.center().x() - bodyWidth * 0.06, body.top() + bodyHeight * 0.10, bodyWidth * 0.12,
                       bodyHeight * 0.17);
    painter.setPen(Qt::NoPen);
    painter.setBrush(online ? accentLight : muted.darker(120));
    painter.drawRoundedRect(wheel, wheel.width() / 2, wheel.width() / 2);
    const QRectF strip(body.center().x() - bodyWidth * 0.28, body.top() + bodyHeight * 0.72, bodyWidth * 0.56,
                       bodyHeight * 0.035);
    painter.setBrush(online ? accent : disabledFill);
    painter.drawRoundedRect(strip, strip.height() / 2, strip.height() / 2);
}

using Drawer = std::function<void(QPainter&, const QSize&, const Options&)>;

const QHash<QString, Drawer>& Drawers()
{
    static const QHash<QString, Drawer> drawers = {
        {QStringLiteral("panel"), DrawPanel},   {QStringLiteral("close"), DrawClose},
        {QStringLiteral("button"), DrawButton}, {QStringLiteral("check"), DrawCheck},
        {QStringLiteral("arrow"), DrawArrow},   {QStringLiteral("solid"), DrawSolid},
        {QStringLiteral("badge"), DrawBadge},   {QStringLiteral("glyph"), DrawGlyph},
        {QStringLiteral("mouse"), DrawMouse},   {QStringLiteral("hues"), DrawHues},
        {QStringLiteral("bands"), DrawBands},   {QStringLiteral("step"), DrawStep},
        {QStringLiteral("symbol"), DrawSymbol},
    };
    return drawers;
}

// The program decodes its pictures at every start. A picture without a single transparent pixel
// is written without an alpha channel: it is read straight into the screen's opaque format, with
// no per-pixel conversion to premultiplied alpha, and its rows are a quarter smaller to inflate.
QImage ForFastDecoding(const QImage& drawn)
{
    const QImage straight = drawn.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            if (qAlpha(row[x]) != 255)
                return straight;
        }
    }
    return straight.convertToFormat(QImage::Format_RGB32);
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
    if (!ForFastDecoding(image).save(target, "PNG"))
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
