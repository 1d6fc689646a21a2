#include "print/printsettings.h"

#include "common/texts.h"
#include "print/pagesettings.h"
#include "print/reportrequest.h"
#include "print/settingsstore.h"

namespace mv {

namespace {

using V = PrintSettingsValues;

SettingField textField(const char16_t* name, QString V::*member)
{
    return {QString::fromUtf16(name), SettingType::Text, member, nullptr, nullptr};
}

SettingField numberField(const char16_t* name, int V::*member)
{
    return {QString::fromUtf16(name), SettingType::Number, nullptr, member, nullptr};
}

SettingField flagField(const char16_t* name, bool V::*member)
{
    return {QString::fromUtf16(name), SettingType::Flag, nullptr, nullptr, member};
}

const QString kTrue = QStringLiteral("真");
const QString kFalse = QStringLiteral("假");

} // namespace

const QList<SettingField>& printSettingFields()
{
    static const QList<SettingField> fields{
        textField(u"标题", &V::title),
        textField(u"页眉", &V::header),
        textField(u"页脚", &V::footer),
        textField(u"备注", &V::remark),
        numberField(u"页号位置", &V::pageNumberPosition),
        numberField(u"纸张", &V::paper),
        textField(u"字体大小", &V::fontSize),
        textField(u"每页行数", &V::rowsPerPage),
        flagField(u"增加序号", &V::serial),
        flagField(u"居中打印", &V::centred),
        numberField(u"纸张方向", &V::orientation),
        flagField(u"默认色", &V::plainColours),
        flagField(u"自配色", &V::builtInColours),
        flagField(u"自定义行", &V::rowColours),
        flagField(u"自定义列", &V::columnColours),
        numberField(u"行标", &V::rowTitleColour),
        numberField(u"奇行", &V::oddRowColour),
        numberField(u"偶行", &V::evenRowColour),
        numberField(u"列标", &V::columnTitleColour),
        numberField(u"奇列", &V::oddColumnColour),
        numberField(u"偶列", &V::evenColumnColour),
    };
    return fields;
}

void LoadPrintSettings(SettingsStore& store, PrintSettingsValues& values)
{
    if (!store.hasSavedSet())
        return;
    PrintSettingsValues stored;
    for (const SettingField& f : printSettingFields()) {
        switch (f.type) {
        case SettingType::Text:
            stored.*f.text = store.readText(f.name);
            break;
        case SettingType::Number:
            stored.*f.number = store.readNumber(f.name);
            break;
        case SettingType::Flag:
            stored.*f.flag = store.readText(f.name) == kTrue;
            break;
        }
    }
    values.title = stored.title;
    values.header = stored.header;
    values.footer = stored.footer;
    values.remark = stored.remark;
    // A hand-edited value outside the lists keeps the window default instead of leaving
    // the combo without a selection and the layout indexing outside its tables.
    if (stored.pageNumberPosition >= 0 && stored.pageNumberPosition < kPageNumberPositions)
        values.pageNumberPosition = stored.pageNumberPosition;
    if (stored.paper >= 0 && stored.paper < kPaperCount)
        values.paper = stored.paper;
    values.fontSize = stored.fontSize;
    values.rowsPerPage = stored.rowsPerPage;
    values.serial = stored.serial;
    if (stored.orientation == 0)
        values.orientation = 0;
    values.centred = stored.centred;
    // One radio group: the plain or built-in scheme first, then rows or columns override.
    auto choose = [&values](bool plain, bool builtIn, bool rows, bool columns) {
        values.plainColours = plain;
        values.builtInColours = builtIn;
        values.rowColours = rows;
        values.columnColours = columns;
    };
    if (stored.plainColours)
        choose(true, false, false, false);
    else if (stored.builtInColours)
        choose(false, true, false, false);
    if (stored.rowColours)
        choose(false, false, true, false);
    else if (stored.columnColours)
        choose(false, false, false, true);
    values.rowTitleColour = stored.rowTitleColour;
    values.oddRowColour = stored.oddRowColour;
    values.evenRowColour = stored.evenRowColour;
    values.columnTitleColour = stored.columnTitleColour;
    values.oddColumnColour = stored.oddColumnColour;
    values.evenColumnColour = stored.evenColumnColour;
}

bool SavePrintSettings(SettingsStore& store, const PrintSettingsValues& values, bool save)
{
    store.forgetWriteFailures();
    store.markSaved(save);
    if (!save)
        return true; // nothing was asked to be kept
    for (const SettingField& f : printSettingFields()) {
        switch (f.type) {
        case SettingType::Text:
            store.writeText(f.name, values.*f.text);
            break;
        case SettingType::Number:
            store.writeNumber(f.name, values.*f.number);
            break;
        case SettingType::Flag:
            store.writeText(f.name, values.*f.flag ? kTrue : kFalse);
            break;
        }
    }
    return !store.writeFailed();
}

namespace {

bool outOfRange(double value)
{
    return value - 3 > 1e-7 || value + 3 < -1e-7;
}

} // namespace

SettingsCheck ValidatePrintSettings(const QString& totalsDecimals, const QString& customDecimals,
                                    const QString& header, const QString& footer,
                                    const QString& fontSize)
{
    auto refuse = [](const QString& message, PrintSettingsField field) {
        return SettingsCheck::refused(message, QStringLiteral("提示"), field, 0, MsgOkInfo);
    };
    if (outOfRange(toNumber(totalsDecimals)))
        return refuse(QStringLiteral("统计行保留位数的设置范围为-3到3之间！"),
                      PrintSettingsField::TotalsDecimals);
    if (outOfRange(toNumber(customDecimals)))
        return refuse(QStringLiteral("新增列保留位数的设置范围为-3到3之间！"),
                      PrintSettingsField::CustomDecimals);
    if (splitHeaderParts(header).size() > 3)
        return refuse(QStringLiteral("页眉中设置的“|”不能多于3个！"), PrintSettingsField::Header);
    if (splitFooterParts(footer).size() > 3)
        return refuse(QStringLiteral("页脚中设置的“|”不能多于3个！"), PrintSettingsField::Footer);
    // A body font size of 0 or less (or no number at all) would give rows no height.
    if (!fontSize.trimmed().isEmpty() && truncateToInt(toNumber(fontSize)) < 1)
        return refuse(QStringLiteral("字体大小的设置必须为大于0的数字！"),
                      PrintSettingsField::FontSize);
    return SettingsCheck::success();
}

int bodyFontSize(const QString& typed, double listPointSize)
{
    if (typed.trimmed().isEmpty())
        return truncateToInt(listPointSize * 3.3);
    return truncateToInt(toNumber(typed));
}

} // namespace mv
