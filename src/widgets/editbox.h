#pragma once
// A one-line edit box that reports Enter (Return or the keypad's Enter).

#include <QLineEdit>

namespace mv {

class EditBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit EditBox(QWidget* parent = nullptr);

    // Masks the text with '*' (true) or shows it plainly.
    void setPasswordMode(bool on);

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace mv
