#include "documents/documentrules.h"

namespace mv {

const DocumentRules& documentRules(DocumentKind kind)
{
    static const DocumentRules receipt{
        .kind = DocumentKind::Receipt,
        .name = u"入库单"_qs,
        .lineDirection = u"入库"_qs,
        .headerDirection = u"入"_qs,
        .storedColumns = {u"原材料名字"_qs, u"型号"_qs, u"数量"_qs, u"单位"_qs, u"单价"_qs,
                          u"备注"_qs},
        .remarkColumn = ReceiptRemark,
        .priced = true,
        .issuesGoods = false,
        .audited = false,
        .headerChecks = {{DocumentField::Number, u"单据号不能为空"_qs},
                         {DocumentField::Party, u"供应单位 不能为空"_qs},
                         {DocumentField::Category, u"库存分类 不能为空"_qs},
                         {DocumentField::Maker, u"制单人 不能为空"_qs},
                         {DocumentField::None, {}}},
        .duplicateFocus = DocumentField::None,
        .templateFile = u"rk.gjbg"_qs,
    };
    static const DocumentRules requisition{
        .kind = DocumentKind::Requisition,
        .name = u"领料单"_qs,
        .lineDirection = u"出库"_qs,
        .headerDirection = u"出"_qs,
        .storedColumns = {u"原材料名字"_qs, u"型号"_qs, u"数量"_qs, u"单位"_qs, u"备注"_qs},
        .remarkColumn = RequisitionRemark,
        .priced = false,
        .issuesGoods = true,
        .audited = true,
        .headerChecks = {{DocumentField::Number, u"单据号不能为空"_qs},
                         {DocumentField::None, {}},
                         {DocumentField::Party, u"所用项目不能为空"_qs},
                         {DocumentField::Category, u"库存分类不能为空"_qs},
                         {DocumentField::Maker, u"制单人不能为空"_qs}},
        .duplicateFocus = DocumentField::Number,
        .templateFile = u"ll.gjbg"_qs,
    };
    return kind == DocumentKind::Receipt ? receipt : requisition;
}

} // namespace mv
