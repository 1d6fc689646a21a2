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
    // Tab leaves the picker for the next field, as it leaves any field: Qt's own picker walks
    // its year, month and day first, so a clerk tabbing from the date to the next box typed
    // into the date. The parts are reached by a click or typed in one go ("2026" moves on).
    bool focusNextPrevChild(bool next) override;
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace mv
