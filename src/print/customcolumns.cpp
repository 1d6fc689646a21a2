#include "print/customcolumns.h"

#include "common/messages.h"
#include "print/formulas.h"

namespace mv {

namespace {

const QString kBadInput = QStringLiteral("自定义列标题或者公式填写错误！");
const QString kBadFormula = QStringLiteral("公式设置有误！");
const QString kDuplicate = QStringLiteral("存在同名列！");

CustomColumnOutcome refused(const QString& message, int code, const QString& title,
                            CustomColumnField focus = CustomColumnField::None)
{
    return CustomColumnOutcome::refused(message, title, focus, 0, code);
}

CustomColumnOutcome accepted()
{
    return CustomColumnOutcome::success();
}

bool nameTaken(const QList<CustomColumn>& columns, const QStringList& listTitles,
               const QString& name)
{
    if (listTitles.contains(name))
        return true;
    for (const CustomColumn& c : columns)
        if (c.name == name)
            return true;
    return false;
}

bool trialFails(const QString& formula, FormulaEngine& engine)
{
    return engine.trial(formula).isEmpty();
}

} // namespace

CustomColumnOutcome AddCustomColumn(QList<CustomColumn>& columns, const QStringList& listTitles,
                                    const QString& name, const QString& formula,
                                    FormulaEngine& engine)
{
    const QString hint = QStringLiteral("提示");
    if (name.isEmpty() || formula.isEmpty())
        return refused(kBadInput, kIconError, hint);
    if (trialFails(formula, engine))
        return refused(kBadFormula, MsgOkInfo, hint, CustomColumnField::Formula);
    if (nameTaken(columns, listTitles, name))
        return refused(kDuplicate, kIconError, QStringLiteral("错误"));
    columns.append({name, formula});
    return accepted();
}

CustomColumnOutcome ModifyCustomColumn(QList<CustomColumn>& columns, const QStringList& listTitles,
                                       int row, const QString& originalName, const QString& name,
                                       const QString& formula, FormulaEngine& engine)
{
    const QString error = QStringLiteral("错误");
    if (name.isEmpty() || formula.isEmpty())
        return refused(kBadInput, kIconError, error);
    if (trialFails(formula, engine))
        return refused(kBadFormula, kIconError, error, CustomColumnField::Formula);
    if (name != originalName && nameTaken(columns, listTitles, name))
        return refused(kDuplicate, kIconWarning, QStringLiteral("警告"));
    if (row < 0 || row >= columns.size())
        return accepted();
    // The pair whose name is the row's current name.
    const QString current = columns[row].name;
    for (CustomColumn& c : columns) {
        if (c.name == current) {
            c = {name, formula};
            break;
        }
    }
    return accepted();
}

CustomColumnOutcome DeleteCustomColumn(QList<CustomColumn>& columns, int row)
{
    if (row < 0 || row >= columns.size())
        return refused(QStringLiteral("没有选择任何要删除的列名！"), MsgOkInfo,
                       QStringLiteral("提示"));
    columns.removeAt(row);
    return accepted();
}

} // namespace mv
