#pragma once
// An editable combo box that reports getting the focus and Enter typed in its text. It keeps
// exactly what was typed: its list offers earlier values, but nothing completes the text by
// itself ("华南" stays "华南" where "华南玻璃" is listed), and the mouse wheel turned over it
// scrolls what lies under it instead of replacing the text with another item. A text wider
// than the box shows whole as a tool tip, on a read-only document's header too.

#include <QComboBox>

namespace mv {

// Replaces the items and opens the list wide enough for the longest one, unelided.
void setListItems(QComboBox* box, const QStringList& items);

// The box's text without spaces typed before or after it, which cannot be seen and would make
// another name of it; an item of the list is kept as listed, spaces and all, so that a name
// stored that way still names itself.
QString enteredText(const QComboBox* box);

class ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

signals:
    void gotFocus();
    void enterPressed();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace mv
