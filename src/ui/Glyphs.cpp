#include "ui/Glyphs.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>;

const QColor kInk(0, 0, 128);
const QColor kAccent(192, 0, 0);

void lines(QPainter& p, std::initializer_list<QLineF> list)
{
    for (const QLineF& l : list)
        p.drawLine(l);
}

const QHash<QString, Draw>& drawings()
{
    static const QHash<QString, Draw> table = {
        {QStringLiteral("MSB_ZOOM"), [](QPainter& p) {
             p.drawEllipse(QRectF(2, 2, 8, 8));
             p.setPen(QPen(kInk, 2.5));
             p.drawLine(QLineF(9, 9, 14, 14));
         }},
        {QStringLiteral("MSB_VIEW"), [](QPainter& p) {
             for (int x : {2, 7, 12})
                 p.drawRect(QRectF(x, 2, 3, 12));
         }},
        {QStringLiteral("MSB_PRINT"), [](QPainter& p) {
             p.drawRect(QRectF(4, 1.5, 8, 5));
             p.drawRect(QRectF(1.5, 6.5, 13, 6));
             p.fillRect(QRectF(4, 11, 8, 4), Qt::white);
             p.drawRect(QRectF(4, 11, 8, 4));
         }},
        {QStringLiteral("MSB_PRINTGROUP"), [](QPainter& p) {
             p.drawRect(QRectF(1.5, 6.5, 13, 6));
             p.drawRect(QRectF(4, 1.5, 8, 5));
             p.setPen(kAccent);
             p.drawText(QRectF(0, 6, 16, 8), Qt::AlignCenter, QStringLiteral("Σ"));
         }},
        {QStringLiteral("MSB_LOCATE"), [](QPainter& p) {
             p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
             lines(p, {{4, 6, 8, 6}});
             p.setPen(QPen(kInk, 2.5));
             p.drawLine(QLineF(10, 10, 14.5, 14.5));
         }},
        {QStringLiteral("MSB_REFRESH"), [](QPainter& p) {
             p.drawArc(QRectF(2, 2, 12, 12), 30 * 16, 280 * 16);
             p.setBrush(kInk);
             p.drawPolygon(QPolygonF({QPointF(11, 1), QPointF(15, 5), QPointF(10, 6)}));
         }},
        {QStringLiteral("MSB_SORT"), [](QPainter& p) {
             lines(p, {{4, 2, 4, 14}, {4, 14, 1.5, 11}, {4, 14, 6.5, 11}});
             for (int i = 0; i < 3; ++i)
                 p.drawLine(QLineF(9, 3 + 4 * i, 10 + 2 * i, 3 + 4 * i));
         }},
        {QStringLiteral("MSB_TITLEWORDWRAP"), [](QPainter& p) {
             lines(p, {{2, 3, 14, 3}, {2, 7, 12, 7}, {12, 7, 12, 11}, {12, 11, 7, 11}, {7, 11, 9, 9},
                       {7, 11, 9, 13}});
         }},
        {QStringLiteral("MSB_BAR"), [](QPainter& p) {
             p.setBrush(kAccent);
             p.drawRect(QRectF(2, 8, 3, 6));
             p.drawRect(QRectF(6.5, 3, 3, 11));
             p.drawRect(QRectF(11, 6, 3, 8));
         }},
        {QStringLiteral("MSB_COPYTOCLIP"), [](QPainter& p) {
             p.drawRect(QRectF(1.5, 1.5, 8, 10));
             p.fillRect(QRectF(6, 5, 8.5, 10), Qt::white);
             p.drawRect(QRectF(6, 5, 8.5, 10));
         }},
        {QStringLiteral("MSB_EXPORT"), [](QPainter& p) {
             p.drawRect(QRectF(1.5, 3.5, 8, 11));
             lines(p, {{6, 8, 14.5, 8}, {14.5, 8, 11.5, 5}, {14.5, 8, 11.5, 11}});
         }},
        {QStringLiteral("MSB_CLEAR"), [](QPainter& p) {
             p.setPen(QPen(kAccent, 2));
             lines(p, {{4, 4, 12, 12}, {12, 4, 4, 12}});
         }},
        {QStringLiteral("MSB_CALENDAR"), [](QPainter& p) {
             p.drawRect(QRectF(1.5, 2.5, 13, 12));
             p.fillRect(QRectF(2, 3, 12.5, 3), kAccent);
             for (int r = 0; r < 2; ++r)
                 for (int c = 0; c < 3; ++c)
                     p.drawPoint(QPointF(4.5 + 3.5 * c, 9 + 3 * r));
         }},
        {QStringLiteral("MSB_CALCULATOR"), [](QPainter& p) {
             p.drawRect(QRectF(2.5, 1.5, 11, 13));
             p.drawRect(QRectF(4.5, 3.5, 7, 3));
             for (int r = 0; r < 2; ++r)
                 for (int c = 0; c < 3; ++c)
                     p.drawPoint(QPointF(5 + 3 * c, 9 + 3 * r));
         }},
        {QStringLiteral("MSB_ALPHA"), [](QPainter& p) {
             QFont font = p.font();
             font.setPixelSize(12);
             font.setBold(true);
             p.setFont(font);
             p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("Ab"));
         }},
    };
    return table;
}

}  // namespace

QPixmap Glyphs::pixmap(const QString& name)
{
    const auto it = drawings().constFind(name);
    if (it == drawings().constEnd())
        return {};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1));
    (*it)(p);
    return pixmap;
}
