#include "Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x33, 0x3f, 0x4f);
const QColor kAccent(0x1f, 0x7a, 0xc4);
const QColor kGood(0x2e, 0x9e, 0x4f);
const QColor kBad(0xc4, 0x3b, 0x2f);
const QColor kPaper(0xf4, 0xf6, 0xf8);

// Everything is drawn on a 16 x 16 grid and scaled.
void Draw(QPainter& p, EIcon icon) {
    QPen pen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto page = [&] {
        QPainterPath path;
        path.moveTo(3.5, 1.5);
        path.lineTo(10, 1.5);
        path.lineTo(12.5, 4);
        path.lineTo(12.5, 14.5);
        path.lineTo(3.5, 14.5);
        path.closeSubpath();
        p.setBrush(kPaper);
        p.drawPath(path);
        p.setBrush(Qt::NoBrush);
    };
    auto folder = [&](bool open) {
        p.setBrush(QColor(0xe8, 0xb9, 0x4a));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 3, 5, 1.5));
        if (open) {
            p.setBrush(QColor(0xf5, 0xd4, 0x7a));
            QPolygonF flap({{3, 7}, {15, 7}, {13.5, 13.5}, {1.5, 13.5}});
            p.drawPolygon(flap);
        }
    };
    auto dot = [&](const QColor& c) {
        p.setBrush(c);
        p.setPen(QPen(c.darker(140), 1));
        p.drawEllipse(QPointF(8, 8), 5, 5);
    };
    // A plus or minus in the bottom right corner, over whatever was drawn.
    auto badge = [&](bool plus) {
        p.setPen(QPen(plus ? kGood : kBad, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 12.5), QPointF(15, 12.5));
        if (plus) p.drawLine(QPointF(12.5, 10), QPointF(12.5, 15));
    };
    auto funnel = [&] {
        QPainterPath path;
        path.moveTo(1.5, 2.5);
        path.lineTo(12.5, 2.5);
        path.lineTo(8.5, 7.5);
        path.lineTo(8.5, 13.5);
        path.lineTo(5.5, 11.5);
        path.lineTo(5.5, 7.5);
        path.closeSubpath();
        p.setBrush(QColor(0x9f, 0xc3, 0xe8));
        p.drawPath(path);
    };
    auto list = [&] {
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 11, 12));
        for (double y : {4.5, 7.5, 10.5}) p.drawLine(QPointF(3.5, y), QPointF(10.5, y));
    };
    auto arrow = [&](QPointF from, QPointF to) {
        p.drawLine(from, to);
        const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
        const QPointF n(-d.y(), d.x());
        p.drawLine(to, to - 3 * d + 2.5 * n);
        p.drawLine(to, to - 3 * d - 2.5 * n);
    };
    switch (icon) {
        case EIcon::New: page(); p.setPen(QPen(kAccent, 1.6)); p.drawLine(QPointF(8, 6), QPointF(8, 12)); p.drawLine(QPointF(5, 9), QPointF(11, 9)); break;
        case EIcon::Open: folder(true); break;
        case EIcon::Save:
            p.setBrush(kAccent);
            p.drawRoundedRect(QRectF(2, 2, 12, 12), 1.5, 1.5);
            p.setBrush(kPaper);
            p.drawRect(QRectF(4.5, 2, 7, 4.5));
            p.drawRect(QRectF(4.5, 9, 7, 5));
            break;
        case EIcon::Cut: p.drawEllipse(QPointF(4.5, 12), 2, 2); p.drawEllipse(QPointF(11.5, 12), 2, 2); p.drawLine(QPointF(5.5, 10.5), QPointF(11, 2)); p.drawLine(QPointF(10.5, 10.5), QPointF(5, 2)); break;
        case EIcon::Copy: p.setBrush(kPaper); p.drawRect(QRectF(2, 2, 8, 9)); p.drawRect(QRectF(6, 5, 8, 9)); break;
        case EIcon::Paste: p.setBrush(QColor(0xc9, 0xa4, 0x6b)); p.drawRect(QRectF(2.5, 3, 9, 11.5)); p.setBrush(kPaper); p.drawRect(QRectF(7, 6.5, 7, 8)); break;
        case EIcon::About: dot(kAccent); p.setPen(QPen(Qt::white, 1.8)); p.drawLine(QPointF(8, 7.5), QPointF(8, 11.5)); p.drawPoint(QPointF(8, 5)); break;
        case EIcon::Navigator: p.setBrush(kPaper); p.drawRect(QRectF(1.5, 2.5, 13, 11)); p.setBrush(kAccent); p.drawRect(QRectF(1.5, 2.5, 4.5, 11)); break;
        case EIcon::Context: p.setBrush(kPaper); p.drawRect(QRectF(1.5, 2.5, 13, 11)); p.setBrush(kAccent); p.drawRect(QRectF(10, 2.5, 4.5, 11)); break;
        case EIcon::Folder: folder(false); break;
        case EIcon::FolderOpen: folder(true); break;
        case EIcon::SwitchOff: dot(QColor(0xa0, 0xa8, 0xb2)); break;
        case EIcon::SwitchOn: dot(kGood); break;
        case EIcon::Settings:
            p.setBrush(QColor(0x8a, 0x96, 0xa6));
            for (int i = 0; i < 8; ++i) {
                p.save();
                p.translate(8, 8);
                p.rotate(45 * i);
                p.drawRect(QRectF(-1.2, -7, 2.4, 3));
                p.restore();
            }
            p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
            break;
        case EIcon::Mixer:
            for (int i = 0; i < 3; ++i) {
                const double x = 3.5 + 4.5 * i;
                p.drawLine(QPointF(x, 2), QPointF(x, 14));
                p.setBrush(kAccent);
                p.drawRect(QRectF(x - 2, 4 + 3.5 * i, 4, 2.5));
            }
            break;
        case EIcon::Viewer: p.setBrush(kPaper); p.drawRect(QRectF(1.5, 2.5, 13, 11)); for (int y = 5; y <= 11; y += 3) p.drawLine(QPointF(4, y), QPointF(12, y)); break;
        case EIcon::Connected: dot(kGood); p.setPen(QPen(Qt::white, 1.6)); p.drawLine(QPointF(5.5, 8), QPointF(7.5, 10.5)); p.drawLine(QPointF(7.5, 10.5), QPointF(11, 5.5)); break;
        case EIcon::NotConnected: dot(QColor(0xa0, 0xa8, 0xb2)); p.setPen(QPen(Qt::white, 1.6)); p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5)); p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5)); break;
        case EIcon::EmptyHistory:
            p.setBrush(kPaper);
            p.drawRect(QRectF(3.5, 4, 9, 10.5));
            p.drawLine(QPointF(2, 4), QPointF(14, 4));
            p.drawLine(QPointF(6, 2), QPointF(10, 2));
            p.setPen(QPen(kBad, 1.3));
            p.drawLine(QPointF(6.5, 6.5), QPointF(6.5, 12.5));
            p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
            break;
        case EIcon::EmptyList: page(); p.setPen(QPen(kBad, 1.6)); p.drawLine(QPointF(5.5, 6.5), QPointF(10.5, 11.5)); p.drawLine(QPointF(10.5, 6.5), QPointF(5.5, 11.5)); break;
        case EIcon::Refresh:
            p.setPen(QPen(kGood, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 270 * 16);
            arrow(QPointF(11.5, 2.5), QPointF(13.2, 5.2));
            break;
        case EIcon::DisableRefresh:
            p.setPen(QPen(QColor(0xa0, 0xa8, 0xb2), 1.8));
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 270 * 16);
            p.setPen(QPen(kBad, 1.8));
            p.drawLine(QPointF(2.5, 13.5), QPointF(13.5, 2.5));
            break;
        case EIcon::Add: p.setPen(QPen(kGood, 2.2, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(8, 3), QPointF(8, 13)); p.drawLine(QPointF(3, 8), QPointF(13, 8)); break;
        case EIcon::Remove: p.setPen(QPen(kBad, 2.2, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(3, 8), QPointF(13, 8)); break;
        case EIcon::Import: page(); p.setPen(QPen(kAccent, 1.6)); arrow(QPointF(8, 4), QPointF(8, 12)); break;
        case EIcon::Export: page(); p.setPen(QPen(kAccent, 1.6)); arrow(QPointF(8, 12), QPointF(8, 4)); break;
        case EIcon::ExpandAll: p.drawRect(QRectF(2.5, 2.5, 11, 11)); p.drawLine(QPointF(5, 8), QPointF(11, 8)); p.drawLine(QPointF(8, 5), QPointF(8, 11)); break;
        case EIcon::CollapseAll: p.drawRect(QRectF(2.5, 2.5, 11, 11)); p.drawLine(QPointF(5, 8), QPointF(11, 8)); break;
        case EIcon::Connect: p.setPen(QPen(kGood, 2)); arrow(QPointF(2, 8), QPointF(13, 8)); break;
        case EIcon::Disconnect: p.setPen(QPen(kBad, 2)); p.drawLine(QPointF(2, 8), QPointF(6.5, 8)); p.drawLine(QPointF(9.5, 8), QPointF(14, 8)); p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 11.5)); p.drawLine(QPointF(9.5, 4.5), QPointF(9.5, 11.5)); break;
        case EIcon::Wait: p.drawEllipse(QPointF(8, 8), 6, 6); p.drawLine(QPointF(8, 8), QPointF(8, 4)); p.drawLine(QPointF(8, 8), QPointF(11, 9.5)); break;
        case EIcon::NewFilter: funnel(); badge(true); break;
        case EIcon::RemoveFilter: funnel(); badge(false); break;
        case EIcon::NewDescriptor: list(); badge(true); break;
        case EIcon::RemoveDescriptor: list(); badge(false); break;
        case EIcon::CloseTab: p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5)); p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5)); break;
    }
}

}  // namespace

QIcon QvIcon(EIcon icon) {
    QIcon result;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        Draw(p, icon);
        p.end();
        result.addPixmap(pixmap);
    }
    return result;
}
