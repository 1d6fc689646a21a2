#include "widgets/datepicker.h"

#include "common/oledate.h"

namespace mv {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    setDate(clockToday());
}

} // namespace mv
