#include "gui/widgets/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <optional>

namespace vrm::icons {
namespace {

using Painter = std::function<void(QPainter&)>;

// An icon whose images are made the first time one is asked for. The tool
// bar, the tree and the windows hold their icons from the start, but most
// sizes are never shown (the offscreen platform asks for none at all), and
// decoding and drawing them all before the first window showed cost several
// milliseconds of every start.
class LazyIconEngine final : public QIconEngine {
public:
    LazyIconEngine(std::function<QIcon()> make, QList<QSize> sizes) : make_(std::move(make)), sizes_(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    // Square images: the size asked for, or the largest there is when the
    // request is larger (as the icon of files answers), without making any.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        int largest = 0;
        for (const QSize& s : sizes_) largest = std::max(largest, s.width());
        const int side = std::min({size.width(), size.height(), largest});
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }
    QIconEngine* clone() const override { return new LazyIconEngine(*this); }
    QString key() const override { return QStringLiteral("vrm-lazy"); }

private:
    const QIcon& Icon() {
        if (!icon_) icon_ = make_();
        return *icon_;
    }

    std::function<QIcon()> make_;
    QList<QSize> sizes_;
    std::optional<QIcon> icon_;
};

const QList<QSize> kDrawnSizes{{16, 16}, {24, 24}, {32, 32}, {48, 48}};

// Draws on a 16 by 16 grid and renders the drawing at 16, 24, 32 and 48
// pixels, when the icon is first shown.
QIcon Draw(const Painter& paint) {
    QIcon icon;
    for (const QSize& size : kDrawnSizes) {
        const int side = size.width();
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / 16.0, side / 16.0);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon Make(Painter paint) {
    return QIcon(new LazyIconEngine([paint = std::move(paint)] { return Draw(paint); }, kDrawnSizes));
}

const QColor kInk(40, 48, 60);
const QColor kPaper(250, 250, 246);
const QColor kFolder(230, 184, 72);
const QColor kBlue(46, 110, 190);
const QColor kGreen(40, 150, 80);
const QColor kRadio(60, 66, 78);

void Page(QPainter& p) {
    QPainterPath path;
    path.moveTo(3.5, 1.5);
    path.lineTo(10, 1.5);
    path.lineTo(13.5, 5);
    path.lineTo(13.5, 14.5);
    path.lineTo(3.5, 14.5);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 5));
    p.drawLine(QPointF(10, 5), QPointF(13.5, 5));
}

void FolderShape(QPainter& p) {
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6, 3.5);
    path.lineTo(7.5, 5);
    path.lineTo(14.5, 5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.setPen(QPen(kFolder.darker(150), 1));
    p.setBrush(kFolder);
    p.drawPath(path);
}

void RadioShape(QPainter& p, qreal x, qreal y, qreal scale) {
    p.save();
    p.translate(x, y);
    p.scale(scale, scale);
    p.setPen(QPen(kRadio.darker(140), 0.8));
    p.setBrush(kRadio);
    p.drawRect(QRectF(3.5, 0.5, 1.2, 5));            // antenna
    p.drawRoundedRect(QRectF(2.5, 5, 7, 10.5), 1.5, 1.5);  // body
    p.setBrush(QColor(160, 210, 170));
    p.drawRect(QRectF(3.8, 6.5, 4.4, 2.6));          // display
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) p.drawRect(QRectF(3.9 + c * 1.5, 10.4 + r * 1.8, 1, 1));
    p.restore();
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::max(0.001, std::hypot(d.x(), d.y()));
    const QPointF u(d.x() / len, d.y() / len);
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << to + u * 1.2 << to - u * 2.6 + n * 2.2 << to - u * 2.6 - n * 2.2;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(head);
}

}  // namespace

// The application's own icon (dist/icons), the one of the desktop entry; its
// images are read when a window or the desktop first asks for one.
QIcon Program() {
    QList<QSize> sizes;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) sizes.append(QSize(side, side));
    return QIcon(new LazyIconEngine(
        [sizes] {
            QIcon icon;
            for (const QSize& size : sizes)
                icon.addFile(QStringLiteral(":/icons/com.trevona.vrm650t-%1.png").arg(size.width()), size);
            return icon;
        },
        sizes));
}

QIcon New() {
    return Make([](QPainter& p) {
        Page(p);
        p.setPen(QPen(QColor(220, 160, 20), 1.2));
        p.drawLine(QPointF(1.5, 1.5), QPointF(4.5, 4.5));
        p.drawLine(QPointF(4.5, 1.5), QPointF(1.5, 4.5));
        p.drawLine(QPointF(3, 0.8), QPointF(3, 5.2));
    });
}

QIcon Open() {
    return Make([](QPainter& p) {
        FolderShape(p);
        p.setPen(QPen(kFolder.darker(150), 1));
        p.setBrush(kFolder.lighter(125));
        QPolygonF front;
        front << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
        p.drawPolygon(front);
    });
}

QIcon Save() {
    return Make([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(4, 9, 8, 5.5));
        p.setBrush(kInk);
        p.drawRect(QRectF(9.5, 2.5, 1.5, 3));
    });
}

QIcon Print() {
    return Make([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(150, 155, 165));
        p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 10, 7, 4.5));
        p.setPen(QPen(kInk, 0.8));
        p.drawLine(QPointF(6, 12), QPointF(10, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QRectF(11.8, 7.2, 1.6, 1.6));
    });
}

QIcon Read() {
    return Make([](QPainter& p) {
        RadioShape(p, 0.0, 0.5, 0.95);
        Arrow(p, QPointF(10, 4), QPointF(14.5, 10), kGreen);
    });
}

QIcon Write() {
    return Make([](QPainter& p) {
        RadioShape(p, 5.5, 0.5, 0.95);
        Arrow(p, QPointF(1.5, 10), QPointF(6, 4), QColor(200, 70, 40));
    });
}

QIcon About() {
    return Make([](QPainter& p) {
        p.setPen(QPen(kBlue.darker(130), 1));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7.1, 3.6, 1.8, 1.8));
        p.drawRoundedRect(QRectF(7.1, 6.6, 1.8, 6), 0.6, 0.6);
    });
}

QIcon TreeRoot() {
    return Make([](QPainter& p) { RadioShape(p, 2.0, 0.2, 1.0); });
}

QIcon TreeEditor() {
    return Make([](QPainter& p) {
        Page(p);
        p.setPen(QPen(kBlue, 0.9));
        for (int i = 0; i < 4; ++i) p.drawLine(QPointF(5, 7 + 2 * i), QPointF(12, 7 + 2 * i));
    });
}

QIcon TreeFolder() {
    return Make([](QPainter& p) { FolderShape(p); });
}

}  // namespace vrm::icons
