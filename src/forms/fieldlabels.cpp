#include "forms/fieldlabels.h"

#include <QLabel>
#include <QRect>
#include <QWidget>

namespace mv {

namespace {

QRect area(const ControlDef& control)
{
    return QRect(control.left, control.top, control.width, control.height);
}

bool isField(ControlKind kind)
{
    return kind == ControlKind::EditBox || kind == ControlKind::ComboBox ||
           kind == ControlKind::DatePicker;
}

// The label of the same container nearest to the field's left whose row overlaps the field's.
const ControlDef* labelOf(const WindowDef& def, const ControlDef& field)
{
    const QRect box = area(field);
    const ControlDef* nearest = nullptr;
    for (const ControlDef& label : def.controls) {
        // A radio button that picks the field names it too (the search window's columns).
        const bool isLabel = label.kind == ControlKind::Label ||
                             label.kind == ControlKind::TransparentLabel ||
                             label.kind == ControlKind::RadioButton;
        if (!isLabel || label.caption.trimmed().isEmpty() || label.parent != field.parent ||
            label.page != field.page)
            continue;
        const QRect text = area(label);
        const bool sameRow = text.top() <= box.bottom() && text.bottom() >= box.top();
        if (sameRow && text.center().x() < box.left() &&
            (!nearest || text.right() > area(*nearest).right()))
            nearest = &label;
    }
    return nearest;
}

} // namespace

void nameFieldsByTheirLabels(const WindowDef& def, const BuiltWindow& built)
{
    for (const ControlDef& field : def.controls) {
        if (!isField(field.kind))
            continue;
        const ControlDef* label = labelOf(def, field);
        QWidget* widget = built.controls.value(field.name);
        if (!label || !widget)
            continue;
        QString name = label->caption.trimmed();
        while (name.endsWith(u'：') || name.endsWith(u':'))
            name.chop(1);
        widget->setAccessibleName(name.trimmed());
        if (auto* labelWidget = qobject_cast<QLabel*>(built.controls.value(label->name)))
            labelWidget->setBuddy(widget);
    }
}

} // namespace mv
