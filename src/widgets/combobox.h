#pragma once
// An editable combo box that reports getting the focus and Enter typed in its text.

#include <QComboBox>

namespace mv {

class ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

signals:
    void gotFocus();
    void enterPressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace mv
