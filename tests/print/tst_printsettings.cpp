// Print settings: both stores, the saved-set rule, load rules and validation.

#include "print/inistore.h"
#include "print/printsettings.h"
#include "print/registrystore.h"
#include "support/filesizelimit.h"
#include "support/scriptedresponder.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace mv;
using mv::test::ScriptedResponder;

namespace {

PrintSettingsValues edited()
{
    PrintSettingsValues v;
    v.title = QStringLiteral("库存表");
    v.header = QStringLiteral("甲|乙");
    v.footer = QStringLiteral("页脚");
    v.remark = QStringLiteral("备注=a;b");
    v.pageNumberPosition = 5;
    v.paper = 3;
    v.fontSize = QStringLiteral("36");
    v.rowsPerPage = QStringLiteral("20");
    v.serial = true;
    v.centred = true;
    v.orientation = 0;
    v.plainColours = false;
    v.rowColours = true;
    v.rowTitleColour = 0x0000FF;
    v.oddRowColour = 0x123456;
    v.evenRowColour = 0xABCDEF;
    v.columnTitleColour = 1;
    v.oddColumnColour = 2;
    v.evenColumnColour = 3;
    return v;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPrintSettings : public QObject
{
    Q_OBJECT
private slots:
    void registryRoundTripAndIdRule()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("registry.json"));
        RegistryStore store(QStringLiteral(" 报 表　"), file);
        QCOMPARE(printSettingsKey(QStringLiteral(" 报 表　")),
                 QStringLiteral("software\\报表打印设置"));

        PrintSettingsValues first; // first run: nothing stored, defaults stay
        LoadPrintSettings(store, first);
        QCOMPARE(first, PrintSettingsValues());

        QVERIFY(SavePrintSettings(store, edited(), true));
        QCOMPARE(store.readNumber(QStringLiteral("ID")), 1);
        QCOMPARE(store.readText(QStringLiteral("增加序号")), QStringLiteral("真"));
        QCOMPARE(store.readText(QStringLiteral("默认色")), QStringLiteral("假"));
        PrintSettingsValues loaded;
        LoadPrintSettings(store, loaded);
        QCOMPARE(loaded, edited());

        // Values keep their types: a number read as text is empty and the reverse 0.
        QCOMPARE(store.readText(QStringLiteral("纸张")), QString());
        QCOMPARE(store.readNumber(QStringLiteral("字体大小")), 0);

        // Unticked: "ID" 0, the other values stay but are not loaded.
        SavePrintSettings(store, PrintSettingsValues(), false);
        QCOMPARE(store.readNumber(QStringLiteral("ID")), 0);
        QCOMPARE(store.readText(QStringLiteral("标题")), QStringLiteral("库存表"));
        PrintSettingsValues again;
        LoadPrintSettings(store, again);
        QCOMPARE(again, PrintSettingsValues());

        // Expandable texts expand environment variables.
        qputenv("MORVANE_TEST_VAR", "值");
        store.writeExpandableText(QStringLiteral("标题"), QStringLiteral("a%MORVANE_TEST_VAR%b"));
        QCOMPARE(store.readText(QStringLiteral("标题")), QStringLiteral("a值b"));
    }

    void unwritableStoresSaySo()
    {
        // A store under a plain file cannot be written, not even by root.
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("plain")), "x");
        RegistryStore registry(QString(), dir.filePath(QStringLiteral("plain/registry.json")));
        IniStore ini(dir.filePath(QStringLiteral("plain/print.ini")));
        for (SettingsStore* store :
             {static_cast<SettingsStore*>(&registry), static_cast<SettingsStore*>(&ini)}) {
            QVERIFY(!SavePrintSettings(*store, edited(), true));
            QVERIFY(SavePrintSettings(*store, edited(), false)); // nothing asked to be kept
        }
    }

    // A disk that fills up while the settings are written (a file size limit stands in for
    // it): said, and the settings saved before are kept whole, in either store.
    void fullDiskKeepsTheSavedSettings()
    {
        QTemporaryDir dir;
        RegistryStore registry(QString(), dir.filePath(QStringLiteral("registry.json")));
        IniStore ini(dir.filePath(QStringLiteral("print.ini")));
        for (SettingsStore* store :
             {static_cast<SettingsStore*>(&registry), static_cast<SettingsStore*>(&ini)}) {
            QVERIFY(SavePrintSettings(*store, edited(), true));
            const QByteArray before =
                readFile(dir.filePath(store == &ini ? u"print.ini"_qs : u"registry.json"_qs));
            bool written = false;
            {
                const mv::test::FileSizeLimit full(16);
                QVERIFY(full.active());
                written = SavePrintSettings(*store, edited(), true);
            }
            QVERIFY(!written);
            QCOMPARE(readFile(dir.filePath(store == &ini ? u"print.ini"_qs : u"registry.json"_qs)),
                     before);
        }
    }

    void damagedRegistryFileIsKeptAside()
    {
        ScriptedResponder responder;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("registry.json"));
        RegistryStore store(QString(), file);
        SavePrintSettings(store, edited(), true);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray damaged = f.readAll().left(100);
        f.close();
        writeFile(file, damaged);

        PrintSettingsValues v;
        LoadPrintSettings(store, v);
        QCOMPARE(v, PrintSettingsValues());
        QCOMPARE(responder.messages.size(), 1);
        QVERIFY(responder.lastText().contains(file + QStringLiteral(".damaged")));
        QFile aside(file + QStringLiteral(".damaged"));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), damaged);

        // The next save starts a new file; a second damage does not replace the first copy.
        SavePrintSettings(store, edited(), true);
        LoadPrintSettings(store, v);
        QCOMPARE(v, edited());
        writeFile(file, "");
        QVERIFY(!store.hasSavedSet());
        QVERIFY(QFile::exists(file + QStringLiteral(".damaged.2")));
        QCOMPARE(responder.messages.size(), 2);
    }

    void blankFontSizeIsEmpty()
    {
        QCOMPARE(bodyFontSize(QStringLiteral(" 　"), 9), 29);
        QCOMPARE(bodyFontSize(QString(), 12), 39);
        QCOMPARE(bodyFontSize(QStringLiteral(" 36.9"), 9), 36);
    }

    void loadRules()
    {
        QTemporaryDir dir;
        RegistryStore store(QString(), dir.filePath(QStringLiteral("r.json")));
        store.markSaved(true);
        // Landscape stays unless portrait (0) is stored; plain and rows both "真": rows win.
        store.writeNumber(QStringLiteral("纸张方向"), 1);
        store.writeText(QStringLiteral("默认色"), QStringLiteral("真"));
        store.writeText(QStringLiteral("自定义行"), QStringLiteral("真"));
        store.writeText(QStringLiteral("增加序号"), QStringLiteral("true"));
        store.writeNumber(QStringLiteral("纸张"), 20);
        store.writeNumber(QStringLiteral("页号位置"), -1);
        PrintSettingsValues v;
        LoadPrintSettings(store, v);
        QCOMPARE(v.orientation, 1);
        QVERIFY(v.rowColours && !v.plainColours && !v.builtInColours && !v.columnColours);
        QVERIFY(!v.serial);
        QCOMPARE(v.paper, 1); // out of range: the default stays
        QCOMPARE(v.pageNumberPosition, 0);
        QCOMPARE(v.fontSize, QString()); // a saved set loads its empty texts
    }

    void iniRoundTripAndFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("print.ini"));
        IniStore missing(path);
        PrintSettingsValues untouched;
        LoadPrintSettings(missing, untouched); // no file: nothing read
        QCOMPARE(untouched, PrintSettingsValues());

        writeFile(path, "[other]\r\nkey=1\r\n");
        PrintSettingsValues noSection;
        LoadPrintSettings(missing, noSection);
        QCOMPARE(noSection.paper, 0); // A3
        QCOMPARE(noSection.orientation, 0);
        QCOMPARE(noSection.rowTitleColour, 0);
        QVERIFY(noSection.plainColours); // no scheme stored: the radios stay

        IniStore store(path);
        SavePrintSettings(store, edited(), true);
        PrintSettingsValues loaded;
        LoadPrintSettings(store, loaded);
        QCOMPARE(loaded, edited());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(text.contains(QStringLiteral("[other]\r\nkey=1\r\n")));
        QVERIFY(text.contains(QStringLiteral("[打印设置]\r\n标题=库存表\r\n")));
        QVERIFY(text.contains(QStringLiteral("纸张方向=0\r\n")));
        QVERIFY(!text.contains(QStringLiteral("ID=")));
        f.close();

        // Unticked writes nothing to an INI file.
        SavePrintSettings(store, PrintSettingsValues(), false);
        QCOMPARE(store.readText(QStringLiteral("标题")), QStringLiteral("库存表"));

        // A file in GBK reads as GBK; a UTF-8 one as UTF-8.
        QStringEncoder gbk("GBK");
        writeFile(path,
                  QByteArray(gbk.encode(QStringLiteral("[打印设置]\r\n纸张=4\r\n标题=库存\r\n"))));
        QCOMPARE(store.readNumber(QStringLiteral("纸张")), 4);
        QCOMPARE(store.readText(QStringLiteral("标题")), QStringLiteral("库存"));
        writeFile(path, QStringLiteral("\xFEFF[打印设置]\n纸张=2\n").toUtf8());
        QCOMPARE(store.readNumber(QStringLiteral("纸张")), 2);
    }

    void validation_data()
    {
        QTest::addColumn<QString>("totals");
        QTest::addColumn<QString>("custom");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("footer");
        QTest::addColumn<QString>("fontSize");
        QTest::addColumn<int>("field");
        QTest::newRow("all pass") << "3.00000001"
                                  << "-3"
                                  << ""
                                  << ""
                                  << "" << int(PrintSettingsField::None);
        QTest::newRow("totals 3.1") << "3.1"
                                    << "0"
                                    << ""
                                    << ""
                                    << "30" << int(PrintSettingsField::TotalsDecimals);
        QTest::newRow("custom -4") << ""
                                   << "-4"
                                   << ""
                                   << ""
                                   << "30" << int(PrintSettingsField::CustomDecimals);
        QTest::newRow("three parts and a bar") << "2"
                                               << "2"
                                               << "a|b|c|"
                                               << "a|b|c"
                                               << "30" << int(PrintSettingsField::None);
        QTest::newRow("four header parts") << "2"
                                           << "2"
                                           << "a|b|c|d"
                                           << ""
                                           << "30" << int(PrintSettingsField::Header);
        QTest::newRow("four footer parts") << "2"
                                           << "2"
                                           << ""
                                           << "|||x"
                                           << "30" << int(PrintSettingsField::Footer);
        QTest::newRow("font 0") << "2"
                                << "2"
                                << ""
                                << ""
                                << "0" << int(PrintSettingsField::FontSize);
        QTest::newRow("font text") << "2"
                                   << "2"
                                   << ""
                                   << ""
                                   << "大" << int(PrintSettingsField::FontSize);
    }

    void validation()
    {
        QFETCH(QString, totals);
        QFETCH(QString, custom);
        QFETCH(QString, header);
        QFETCH(QString, footer);
        QFETCH(QString, fontSize);
        QFETCH(int, field);
        const SettingsCheck check = ValidatePrintSettings(totals, custom, header, footer, fontSize);
        QCOMPARE(check.done, field == int(PrintSettingsField::None));
        QCOMPARE(int(check.focus), field);
        if (field == int(PrintSettingsField::Header))
            QCOMPARE(check.message, QStringLiteral("页眉中设置的“|”不能多于3个！"));
    }
};

QTEST_MAIN(TestPrintSettings)
#include "tst_printsettings.moc"
