#include "ui/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace rvq::ui {

namespace {

constexpr int kIconSide = 64;
constexpr int kStatusSide = 48;

QColor CategoryColour(Category category) {
    switch (category) {
        case Category::PrinterSetting:
            return QColor(0x35, 0x78, 0xc9);
        case Category::ParameterSetting:
            return QColor(0x6e, 0x58, 0xc2);
        case Category::Maintenance:
            return QColor(0xd0, 0x7a, 0x24);
        case Category::Download:
            return QColor(0x2c, 0x97, 0x66);
        case Category::Tool:
            return QColor(0x5a, 0x67, 0x78);
    }
    return Qt::gray;
}

void DrawTile(QPainter& p, const QColor& colour) {
    QLinearGradient fill(0, 0, 0, kIconSide);
    fill.setColorAt(0, colour.lighter(118));
    fill.setColorAt(1, colour.darker(108));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(3, 3, kIconSide - 6, kIconSide - 6), 12, 12);
}

void DrawPrinter(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(14, 18, 36, 22), 4, 4);  // body
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(QRectF(18, 13, 28, 7), 2, 2);  // lid
    p.setBrush(Qt::white);
    p.drawRect(QRectF(21, 40, 22, 12));  // label leaving the printer
    p.setPen(QPen(QColor(0x35, 0x78, 0xc9), 2));
    p.drawLine(QPointF(25, 45), QPointF(39, 45));
    p.drawLine(QPointF(25, 49), QPointF(34, 49));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xd0, 0x70));
    p.drawEllipse(QPointF(44, 25), 2.5, 2.5);
}

void DrawSliders(QPainter& p) {
    const qreal rows[] = {20, 32, 44};
    const qreal knobs[] = {38, 24, 33};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 170), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, rows[i]), QPointF(49, rows[i]));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(knobs[i], rows[i]), 5.5, 5.5);
    }
}

void DrawWrench(QPainter& p) {
    p.save();
    p.translate(32, 32);
    p.rotate(45);
    QPainterPath wrench;
    wrench.addRoundedRect(QRectF(-4.5, -6, 9, 30), 4, 4);
    wrench.addEllipse(QPointF(0, -13), 11, 11);
    QPainterPath jaw;
    jaw.addRect(QRectF(-4, -26, 8, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(wrench.subtracted(jaw));
    p.restore();
}

void DrawDownload(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath arrow;
    arrow.moveTo(27, 12);
    arrow.lineTo(37, 12);
    arrow.lineTo(37, 29);
    arrow.lineTo(45, 29);
    arrow.lineTo(32, 43);
    arrow.lineTo(19, 29);
    arrow.lineTo(27, 29);
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tray;
    tray.moveTo(15, 41);
    tray.lineTo(15, 50);
    tray.lineTo(49, 50);
    tray.lineTo(49, 41);
    p.drawPath(tray);
}

void DrawToolbox(QPainter& p) {
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(25, 14, 14, 10), 3, 3);  // handle
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 22, 40, 28), 4, 4);
    p.setBrush(QColor(0x5a, 0x67, 0x78));
    p.drawRect(QRectF(12, 32, 40, 3));
    p.drawRoundedRect(QRectF(28, 29, 8, 9), 2, 2);
}

QPixmap CategoryPixmap(Category category) {
    QPixmap pixmap(kIconSide, kIconSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawTile(p, CategoryColour(category));
    switch (category) {
        case Category::PrinterSetting:
            DrawPrinter(p);
            break;
        case Category::ParameterSetting:
            DrawSliders(p);
            break;
        case Category::Maintenance:
            DrawWrench(p);
            break;
        case Category::Download:
            DrawDownload(p);
            break;
        case Category::Tool:
            DrawToolbox(p);
            break;
    }
    return pixmap;
}

}  // namespace

QIcon CategoryIcon(Category category) { return QIcon(CategoryPixmap(category)); }

QIcon ProgramIcon() { return QIcon(CategoryPixmap(Category::PrinterSetting)); }

QPixmap StatusPixmap(StatusPicture picture) {
    QPixmap pixmap(kStatusSide, kStatusSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(0x35, 0x78, 0xc9), QColor(0x2c, 0x97, 0x66),
                              QColor(0xc9, 0x3a, 0x32), QColor(0xd9, 0x9a, 0x1e)};
    p.setPen(Qt::NoPen);
    p.setBrush(colours[static_cast<int>(picture)]);
    p.drawEllipse(QRectF(2, 2, kStatusSide - 4, kStatusSide - 4));
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (picture) {
        case StatusPicture::Running:
            p.drawArc(QRectF(13, 13, 22, 22), 90 * 16, 270 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(22, 7), QPointF(31, 13), QPointF(22, 19)}));
            break;
        case StatusPicture::Succeeded:
            p.drawPolyline(QPolygonF({QPointF(14, 25), QPointF(21, 32), QPointF(34, 17)}));
            break;
        case StatusPicture::Failed:
            p.drawLine(QPointF(16, 16), QPointF(32, 32));
            p.drawLine(QPointF(32, 16), QPointF(16, 32));
            break;
        case StatusPicture::Cancelled:
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(16, 16, 16, 16), 2, 2);
            break;
    }
    return pixmap;
}

QIcon PrinterStateIcon(PrinterState state) {
    if (state == PrinterState::Stopped) return {};
    // Drawn large and scaled down by the list, so it stays sharp at any scale.
    constexpr int kSide = 32;
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor ready(0x2c, 0x97, 0x66);
    const QColor error(0xc9, 0x3a, 0x32);
    const QColor silent(0x7a, 0x84, 0x90);
    p.setBrush(state == PrinterState::Ready   ? ready
               : state == PrinterState::Error ? error
                                              : silent);
    p.drawEllipse(QRectF(1, 1, kSide - 2, kSide - 2));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (state) {
        case PrinterState::Ready:
            p.drawPolyline(QPolygonF({QPointF(9, 17), QPointF(14, 22), QPointF(23, 11)}));
            break;
        case PrinterState::Error:
            p.drawLine(QPointF(16, 8), QPointF(16, 18));
            p.drawPoint(QPointF(16, 24));
            break;
        case PrinterState::NoAnswer:
            p.drawLine(QPointF(10, 16), QPointF(22, 16));
            break;
        case PrinterState::Stopped:
            break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace rvq::ui
