#pragma once
// A list of texts, each with a check box.

#include <QListWidget>

namespace mv {

class CheckListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit CheckListBox(QWidget* parent = nullptr);

    // Appends an item; returns its index.
    int addCheckItem(const QString& text, bool checked = false);
    bool isChecked(int index) const;
    void setChecked(int index, bool checked);
    int checkedCount() const;
};

} // namespace mv
