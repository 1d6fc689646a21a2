#include "documents/quantity.h"

#include "common/texts.h"

#include <QRegularExpression>

#include <algorithm>

namespace mv {

std::optional<QString> plainQuantity(const QString& typed)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    const QString text = foldFullWidth(typed).trimmed();
    if (!plain.match(text).hasMatch())
        return std::nullopt;
    const bool positive =
        std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    if (!positive)
        return std::nullopt;
    return text;
}

bool quantityTooLarge(const QString& plain)
{
    QString whole = plain.section(u'.', 0, 0);
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    const QString largest = QString::number(kLargestQuantity);
    return whole.size() > largest.size() || (whole.size() == largest.size() && whole > largest);
}

QString partCountedQuestion(const QList<DocumentLine>& lines)
{
    QStringList notes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> quantity = plainQuantity(lines.at(i).cell(LineQuantity));
        if (!quantity || !quantity->contains(u'.'))
            continue;
        const QString fraction = quantity->section(u'.', 1);
        if (std::all_of(fraction.begin(), fraction.end(), [](QChar c) { return c == u'0'; }))
            continue; // "2.0" counts as typed
        notes.append(u"第 %1 行的数量 %2 计为 %3"_qs.arg(lines.at(i).gridRow(i))
                         .arg(*quantity)
                         .arg(toInteger(*quantity)));
    }
    if (notes.isEmpty())
        return {};
    return u"库存只按整数计算："_qs + notes.join(u"，"_qs) +
           u"。\n要这样保存吗？选“否”可以改正数量。"_qs;
}

} // namespace mv
