#include "documents/quantity.h"

#include "common/texts.h"

#include <QRegularExpression>

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

} // namespace mv
