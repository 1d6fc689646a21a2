#pragma once
// A date picker with a calendar pop-up, showing dates as "2010年1月5日"; starts at today. A click
// into the text selects the part clicked (year, month or day), so that digits typed next
// replace it. The mouse wheel steps the date only once the picker has the focus.

#include <QDateEdit>

namespace mv {

class DatePicker : public QDateEdit
{
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace mv
