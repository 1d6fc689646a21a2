#include "widgets/checklistbox.h"

namespace mv {

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent) {}

int CheckListBox::addCheckItem(const QString& text, bool checked)
{
    auto* entry = new QListWidgetItem(text, this); // owned by the list
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return count() - 1;
}

bool CheckListBox::isChecked(int index) const
{
    const QListWidgetItem* entry = item(index);
    return entry && entry->checkState() == Qt::Checked;
}

void CheckListBox::setChecked(int index, bool checked)
{
    if (QListWidgetItem* entry = item(index))
        entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int CheckListBox::checkedCount() const
{
    int checked = 0;
    for (int i = 0; i < count(); ++i)
        checked += isChecked(i) ? 1 : 0;
    return checked;
}

} // namespace mv
