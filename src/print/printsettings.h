#pragma once
// The persisted print settings: the values the settings window shows, declared once with
// their stored names and types, loaded and saved through either store, and validated
// before a preview.

#include "common/outcome.h"
#include <QList>
#include <QString>

namespace mv {

class SettingsStore;

// The settings window's state as far as it is persisted. Defaults are the window's
// initial state.
struct PrintSettingsValues
{
    QString title;
    QString header;
    QString footer;
    QString remark;
    int pageNumberPosition = 0;
    int paper = 1;
    QString fontSize = QStringLiteral("30");
    QString rowsPerPage;
    bool serial = false;
    bool centred = false;
    int orientation = 1; // 0 portrait, 1 landscape
    bool plainColours = true;
    bool builtInColours = false;
    bool rowColours = false;
    bool columnColours = false;
    // COLORREF values of the six pickers.
    int rowTitleColour = 0xFFFFFF;
    int oddRowColour = 0xFFFFFF;
    int evenRowColour = 0xFFFFFF;
    int columnTitleColour = 0xFFFFFF;
    int oddColumnColour = 0xFFFFFF;
    int evenColumnColour = 0xFFFFFF;

    bool operator==(const PrintSettingsValues&) const = default;
};

enum class SettingType
{
    Text,
    Number,
    Flag
};

// One persisted value: its stored name, type and place in PrintSettingsValues.
struct SettingField
{
    QString name;
    SettingType type;
    QString PrintSettingsValues::*text = nullptr;
    int PrintSettingsValues::*number = nullptr;
    bool PrintSettingsValues::*flag = nullptr;
};

// Every persisted value in load and save order (without "ID").
const QList<SettingField>& printSettingFields();

// Loads a stored set over values (which hold the window defaults): nothing when the store
// has no saved set; orientation only switches to portrait on a stored 0; the colour scheme
// is resolved as plain or built-in, then rows or columns.
void LoadPrintSettings(SettingsStore& store, PrintSettingsValues& values);
// Writes every value (save ticked) or clears the saved flag (unticked); false when a write
// failed.
bool SavePrintSettings(SettingsStore& store, const PrintSettingsValues& values, bool save);

enum class PrintSettingsField
{
    None,
    TotalsDecimals, // 统计行保留位数
    CustomDecimals, // 新增列保留位数
    Header,
    Footer,
    FontSize,
};

using SettingsCheck = Outcome<PrintSettingsField>;

// The checks before a preview, in order: totals decimals, custom decimals, header parts,
// footer parts, then a font size that is given but not a positive number.
SettingsCheck ValidatePrintSettings(const QString& totalsDecimals, const QString& customDecimals,
                                    const QString& header, const QString& footer,
                                    const QString& fontSize);

// The body font size of a preview: the typed size, truncated; a box holding nothing but
// blanks counts as empty and gives the list's own font size (points x 3.3, truncated).
int bodyFontSize(const QString& typed, double listPointSize);

} // namespace mv
