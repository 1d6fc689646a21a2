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

} // namespace mv
