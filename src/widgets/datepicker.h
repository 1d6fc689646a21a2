#pragma once
// A date picker with a calendar pop-up, showing dates as "2010年1月5日"; starts at today.

#include <QDateEdit>

namespace mv {

class DatePicker : public QDateEdit
{
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);
};

} // namespace mv
