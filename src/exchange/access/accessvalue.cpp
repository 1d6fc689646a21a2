#include "exchange/access/accessvalue.h"

#include "common/oledate.h"
#include "common/texts.h"

#include <charconv>
#include <cmath>

namespace mv {

namespace {

bool refuse(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// The shortest plain decimal that reads back as the same number: "1234567", not
// "1.23457e+06", which the stock would count as 1.
template <class Number> QString plainText(Number number)
{
    if (!std::isfinite(number))
        return doubleText(double(number));
    char digits[400];
    const std::to_chars_result written =
        std::to_chars(digits, digits + sizeof digits, number, std::chars_format::fixed);
    if (written.ec != std::errc())
        return doubleText(double(number));
    return QString::fromLatin1(digits, written.ptr - digits);
}

QString textOf(const AccessValue& value)
{
    switch (value.kind) {
    case AccessValue::Integer:
        return QString::number(value.integer);
    case AccessValue::Single:
        return plainText(float(value.number));
    case AccessValue::Double:
        return plainText(value.number);
    case AccessValue::Date:
        return storedDateText(value.number);
    default:
        return value.text;
    }
}

bool toWholeNumber(const AccessValue& value, QVariant* result, QString* error)
{
    switch (value.kind) {
    case AccessValue::Integer:
        *result = value.integer;
        return true;
    case AccessValue::Single:
    case AccessValue::Double:
        if (std::isfinite(value.number) && value.number == std::trunc(value.number) &&
            std::fabs(value.number) < 9.0e15) {
            *result = qint64(value.number);
            return true;
        }
        return refuse(error, QStringLiteral("%1 不是整数").arg(textOf(value)));
    case AccessValue::Text:
    case AccessValue::Decimal: {
        bool ok = false;
        const qint64 number = value.text.trimmed().toLongLong(&ok);
        if (ok) {
            *result = number;
            return true;
        }
        return refuse(error, QStringLiteral("“%1”不是整数").arg(value.text));
    }
    default:
        return refuse(error, QStringLiteral("日期或二进制数据不能存为整数"));
    }
}

bool toRealNumber(const AccessValue& value, QVariant* result, QString* error)
{
    switch (value.kind) {
    case AccessValue::Integer:
        *result = double(value.integer);
        return true;
    case AccessValue::Single:
    case AccessValue::Double:
    case AccessValue::Date:
        *result = value.number;
        return true;
    case AccessValue::Text:
    case AccessValue::Decimal: {
        bool ok = false;
        const double number = value.text.trimmed().toDouble(&ok);
        if (ok) {
            *result = number;
            return true;
        }
        return refuse(error, QStringLiteral("“%1”不是数字").arg(value.text));
    }
    default:
        return refuse(error, QStringLiteral("二进制数据不能存为数字"));
    }
}

} // namespace

ColumnAffinity affinityOfDeclaredType(const QString& declaredType)
{
    const QString type = declaredType.toUpper();
    if (type.contains(QLatin1String("INT")))
        return ColumnAffinity::Integer;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")))
        return ColumnAffinity::Text;
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB")))
        return ColumnAffinity::Real;
    return ColumnAffinity::Any;
}

QString declaredTypeFor(AccessValue::Kind kind)
{
    switch (kind) {
    case AccessValue::Integer:
        return QStringLiteral("INTEGER");
    case AccessValue::Single:
    case AccessValue::Double:
        return QStringLiteral("REAL");
    case AccessValue::Binary:
        return QStringLiteral("BLOB");
    default:
        return QStringLiteral("TEXT");
    }
}

QString storedDateText(double oleDate)
{
    QDateTime moment = fromOleDate(oleDate);
    // Whole seconds, rounded: a stored time of 08:30 may read as 08:29:59.9998.
    const int milliseconds = moment.time().msec();
    moment = moment.addMSecs(milliseconds >= 500 ? 1000 - milliseconds : -milliseconds);
    if (moment.time() == QTime(0, 0))
        return moment.date().toString(QStringLiteral("yyyy-MM-dd"));
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool convertAccessValue(const AccessValue& value, ColumnAffinity affinity, QVariant* result,
                        QString* error)
{
    *result = QVariant();
    if (value.kind == AccessValue::Null)
        return true;
    switch (affinity) {
    case ColumnAffinity::Text:
        if (value.kind == AccessValue::Binary)
            return refuse(error, QStringLiteral("二进制数据不能存为文本"));
        *result = textOf(value);
        return true;
    case ColumnAffinity::Integer:
        return toWholeNumber(value, result, error);
    case ColumnAffinity::Real:
        return toRealNumber(value, result, error);
    case ColumnAffinity::Any:
        break;
    }
    switch (value.kind) {
    case AccessValue::Binary:
        *result = value.bytes;
        return true;
    case AccessValue::Integer:
        *result = value.integer;
        return true;
    case AccessValue::Single:
    case AccessValue::Double:
        *result = value.number;
        return true;
    default:
        *result = textOf(value);
        return true;
    }
}

} // namespace mv
