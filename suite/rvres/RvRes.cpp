// The glyph library: each picture is drawn here at load time, 16 × 16 per image.
#include "suite/rvres/RvRes.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr int kSize = 16;
const QColor kBack(0x80, 0x80, 0x00); // olive, the transparent colour
const QColor kFace(0xC0, 0xC0, 0xC0), kShadow(0x80, 0x80, 0x80), kLight(0xFF, 0xFF, 0xFF);

using Painter = void (*)(QPainter&);

void Outline(QPainter& p, const QColor& fill) {
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(fill);
}

// 4: a magnifying glass (search).
void PaintSearch(QPainter& p) {
    Outline(p, QColor(0xFF, 0xFF, 0xFF));
    p.drawEllipse(QRect(1, 1, 9, 9));
    p.setPen(QPen(QColor(0x00, 0x00, 0x80), 0));
    p.drawArc(QRect(3, 3, 5, 5), 90 * 16, 90 * 16);
    p.setPen(QPen(QColor(0x80, 0x00, 0x00), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPoint(10, 10), QPoint(14, 14));
}

// 8: three dots, the lookup button.
void PaintEllipsis(QPainter& p) {
    for (int x : {3, 7, 11})
        p.fillRect(QRect(x, 10, 2, 2), Qt::black);
}

// 9: a calendar page.
void PaintCalendar(QPainter& p) {
    Outline(p, Qt::white);
    p.drawRect(QRect(1, 2, 13, 12));
    p.fillRect(QRect(2, 3, 12, 3), QColor(0x80, 0x00, 0x00));
    p.fillRect(QRect(4, 1, 1, 3), Qt::black);
    p.fillRect(QRect(11, 1, 1, 3), Qt::black);
    for (int y = 7; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3)
            p.fillRect(QRect(x, y, 2, 1), QColor(0x00, 0x00, 0x80));
    p.fillRect(QRect(9, 9, 2, 1), Qt::red);
}

// 39: a person.
void PaintPerson(QPainter& p) {
    Outline(p, QColor(0x00, 0x00, 0x80));
    QPainterPath body;
    body.moveTo(2, 15);
    body.lineTo(2, 12);
    body.quadTo(2, 9, 6, 9);
    body.lineTo(10, 9);
    body.quadTo(14, 9, 14, 12);
    body.lineTo(14, 15);
    body.closeSubpath();
    p.drawPath(body);
    Outline(p, QColor(0xFF, 0xCC, 0x99));
    p.drawEllipse(QRect(5, 1, 6, 7));
}

// 44: a coin with the yuan sign.
void PaintCoin(QPainter& p) {
    Outline(p, QColor(0xFF, 0xD7, 0x00));
    p.drawEllipse(QRect(1, 1, 13, 13));
    p.setPen(QPen(QColor(0x80, 0x40, 0x00), 0));
    p.drawLine(5, 4, 7, 7);
    p.drawLine(10, 4, 8, 7);
    p.drawLine(7, 7, 7, 11);
    p.drawLine(8, 7, 8, 11);
    p.drawLine(5, 8, 10, 8);
    p.drawLine(5, 10, 10, 10);
}

// 47: a report sheet with a folded corner.
void PaintReport(QPainter& p) {
    Outline(p, Qt::white);
    p.drawPolygon(
        QPolygon({QPoint(2, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(2, 14)}));
    p.drawPolyline(QPolygon({QPoint(10, 1), QPoint(10, 4), QPoint(13, 4)}));
    for (int y = 6; y <= 12; y += 2)
        p.fillRect(QRect(4, y, y == 12 ? 4 : 7, 1), QColor(0x00, 0x00, 0x80));
}

// 60: a customer card: a card with a portrait and lines.
void PaintCard(QPainter& p) {
    Outline(p, QColor(0xFF, 0xFF, 0xE1));
    p.drawRect(QRect(0, 3, 15, 10));
    p.fillRect(QRect(2, 5, 5, 6), QColor(0x00, 0x80, 0x80));
    p.fillRect(QRect(3, 6, 3, 2), QColor(0xFF, 0xCC, 0x99));
    for (int y = 6; y <= 10; y += 2)
        p.fillRect(QRect(8, y, 5, 1), Qt::black);
}

// 78: a building, the department.
void PaintBuilding(QPainter& p) {
    Outline(p, QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(QRect(3, 1, 10, 14));
    for (int y = 3; y <= 9; y += 3)
        for (int x = 5; x <= 10; x += 3)
            p.fillRect(QRect(x, y, 2, 2), QColor(0x00, 0x00, 0x80));
    p.fillRect(QRect(7, 12, 2, 3), QColor(0x80, 0x00, 0x00));
    p.fillRect(QRect(1, 15, 14, 1), Qt::black);
}

struct Glyph {
    Painter Paint;
    bool WithDisabled; // a second image, the disabled look
};

const std::map<int, Glyph>& Glyphs() {
    // The lookup button's dots come alone: the form that shows it makes its disabled image.
    static const std::map<int, Glyph> glyphs = {
        {4, {&PaintSearch, true}},  {8, {&PaintEllipsis, false}}, {9, {&PaintCalendar, true}},
        {39, {&PaintPerson, true}}, {44, {&PaintCoin, true}},     {47, {&PaintReport, true}},
        {60, {&PaintCard, true}},   {78, {&PaintBuilding, true}},
    };
    return glyphs;
}

// The disabled image: dark pixels and the picture's edges as an embossed grey silhouette.
void PaintDisabled(QImage& img) {
    const QRgb back = kBack.rgb();
    auto at = [&](int x, int y) {
        return img.pixel(std::clamp(x, 0, kSize - 1), std::clamp(y, 0, kSize - 1));
    };
    std::vector<bool> marked(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            QRgb c = img.pixel(x, y);
            if (c == back) continue;
            bool dark = qRed(c) + qGreen(c) + qBlue(c) < 384;
            bool edge = at(x - 1, y) == back || at(x + 1, y) == back || at(x, y - 1) == back ||
                        at(x, y + 1) == back;
            marked[y * kSize + x] = dark || edge;
        }
    for (int y = 0; y < kSize; ++y)
        for (int x = kSize; x < 2 * kSize; ++x)
            img.setPixel(x, y, back);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (marked[y * kSize + x] && x + 1 < kSize && y + 1 < kSize)
                img.setPixel(kSize + x + 1, y + 1, kLight.rgb());
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (marked[y * kSize + x]) img.setPixel(kSize + x, y, kShadow.rgb());
}

} // namespace

extern "C" __attribute__((visibility("default"))) int GetMaxBmpID() {
    return Glyphs().rbegin()->first;
}

extern "C" __attribute__((visibility("default"))) bool LoadBmp(void* bitmap, int id) {
    auto* sink = static_cast<RvBitmapSink*>(bitmap);
    if (!sink || sink->StructSize < sizeof(RvBitmapSink) || !sink->SetSize || !sink->PutRow)
        return false;
    auto it = Glyphs().find(id);
    if (it == Glyphs().end()) return false;
    int width = it->second.WithDisabled ? 2 * kSize : kSize;
    QImage img(width, kSize, QImage::Format_RGB32);
    img.fill(kBack);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setClipRect(0, 0, kSize, kSize);
        it->second.Paint(p);
    }
    if (it->second.WithDisabled) PaintDisabled(img);
    if (!sink->SetSize(sink->Context, width, kSize)) return false;
    QImage rows = img.convertToFormat(QImage::Format_BGR888);
    for (int y = 0; y < kSize; ++y)
        sink->PutRow(sink->Context, y, rows.constScanLine(y));
    return true;
}
