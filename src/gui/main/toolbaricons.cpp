#include "gui/main/toolbaricons.h"

#include "widgets/statetoolbar.h"

#include <QAction>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace mv {

namespace {

// Height of the banner's text band, from its top edge.
constexpr int kBannerTextHeight = 28;

// A rounded square in the given colour with one character on it.
QIcon glyphIcon(const QString& glyph, const QColor& colour)
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    QLinearGradient fill(0, 0, 0, 48);
    fill.setColorAt(0, colour.lighter(135));
    fill.setColorAt(1, colour);
    p.fillPath(path, fill);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, 48, 48), Qt::AlignCenter, glyph);
    return QIcon(picture);
}

void setIcon(StateToolBar& bar, int index, const QString& glyph, const QColor& colour)
{
    if (QAction* action = bar.buttonAction(index))
        action->setIcon(glyphIcon(glyph, colour));
}

} // namespace

void applyToolBarIcons(StateToolBar& mainBar, StateToolBar& auxBar)
{
    const QColor blue(0x2f, 0x6f, 0xb0), green(0x2e, 0x8b, 0x57), orange(0xd0, 0x7a, 0x1c),
        grey(0x80, 0x8a, 0x96), red(0xb0, 0x3a, 0x3a), purple(0x6a, 0x4c, 0x9c);
    setIcon(mainBar, 0, QStringLiteral("入"), green);
    setIcon(mainBar, 1, QStringLiteral("出"), orange);
    setIcon(mainBar, 2, QStringLiteral("存"), blue);
    setIcon(mainBar, 4, QStringLiteral("成"), grey);
    setIcon(mainBar, 5, QStringLiteral("成"), grey);
    setIcon(mainBar, 6, QStringLiteral("成"), grey);
    setIcon(mainBar, 8, QStringLiteral("设"), purple);
    setIcon(mainBar, 9, QStringLiteral("退"), red);

    setIcon(auxBar, 0, QStringLiteral("印"), blue);
    setIcon(auxBar, 1, QStringLiteral("览"), blue);
    setIcon(auxBar, 3, QStringLiteral("+"), green);
    setIcon(auxBar, 4, QStringLiteral("存"), green);
    setIcon(auxBar, 5, QStringLiteral("改"), orange);
    setIcon(auxBar, 6, QStringLiteral("×"), red);
    setIcon(auxBar, 8, QStringLiteral("‹"), blue);
    setIcon(auxBar, 9, QStringLiteral("›"), blue);
    setIcon(auxBar, 11, QStringLiteral("审"), purple);
    setIcon(auxBar, 12, QStringLiteral("计"), purple);
    setIcon(auxBar, 13, QStringLiteral("记"), blue);
    setIcon(auxBar, 14, QStringLiteral("查"), blue);
}

QPixmap bannerPicture(const QSize& size)
{
    QPixmap picture(size.isEmpty() ? QSize(384, 56) : size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // Title and subtitle share one line in the top band: the period pickers of the stock page
    // sit across the banner's lower half.
    const QRect band = picture.rect().adjusted(0, 0, -8, kBannerTextHeight - picture.height());
    QFont title = p.font();
    title.setPixelSize(22);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x12, 0x38, 0x5e));
    const QString titleText = QStringLiteral("Morvane 原材料仓库");
    p.drawText(band, Qt::AlignRight | Qt::AlignBottom, titleText);
    const int titleWidth = QFontMetrics(title).horizontalAdvance(titleText);
    QFont subtitle = p.font();
    subtitle.setPixelSize(12);
    subtitle.setBold(false);
    p.setFont(subtitle);
    p.setPen(QColor(0x4a, 0x6a, 0x8a));
    p.drawText(band.adjusted(0, 0, -titleWidth - 10, -3), Qt::AlignRight | Qt::AlignBottom,
               QStringLiteral("门窗 · 幕墙 原材料管理"));
    return picture;
}

} // namespace mv
