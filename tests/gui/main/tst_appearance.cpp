#include "app/options.h"
#include "gui/main/appearance.h"
#include "widgets/colourpicker.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace mv;

// The program's language and look: Qt's standard texts in Chinese, the skin, the options.
class TestAppearance : public QObject
{
    Q_OBJECT
private slots:
    void standardButtonsSpeakChinese();
    void skinIsApplied();
    void fileDialogButtonsShowTheirIcons();
    void optionsAreRead();
};

void TestAppearance::standardButtonsSpeakChinese()
{
    installChineseTexts(*qApp);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
    QCOMPARE(QLocale().language(), QLocale::Chinese);
}

void TestAppearance::skinIsApplied()
{
    qApp->setStyleSheet(QString());
    applySkin(*qApp);
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("QToolBar")));
    // A box the clerk cannot type into does not look like one he can.
    const auto background = [](bool readOnly) {
        QLineEdit box;
        box.setReadOnly(readOnly);
        box.resize(60, 20);
        return box.grab().toImage().pixel(30, 10);
    };
    QCOMPARE_NE(background(true), background(false));
    // Nor does a label or a colour swatch switched off look like one that is on.
    const auto drawn = [](QWidget& widget, bool enabled) {
        widget.setEnabled(enabled);
        widget.resize(60, 20);
        return widget.grab().toImage();
    };
    QLabel label(QStringLiteral("奇数行颜色："));
    QCOMPARE_NE(drawn(label, false), drawn(label, true));
    ColourPicker swatch;
    QCOMPARE_NE(drawn(swatch, false), drawn(swatch, true));
    initResources();
    QVERIFY(QFile::exists(QStringLiteral(":/home/index.html")));
}

// The widest run of columns of a button's picture that differ from its top-left pixel: how wide
// its icon is drawn.
static int drawnWidth(QWidget* button)
{
    const QImage image = button->grab().toImage();
    int columns = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != image.pixel(0, 0)) {
                ++columns;
                break;
            }
    return columns;
}

void TestAppearance::fileDialogButtonsShowTheirIcons()
{
    applySkin(*qApp);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const char* name : {"backButton", "toParentButton", "newFolderButton"}) {
        auto* button = dialog.findChild<QToolButton*>(QLatin1String(name));
        QVERIFY2(button, name);
        QVERIFY2(drawnWidth(button) >= button->iconSize().width() * 3 / 4, name);
    }
}

void TestAppearance::optionsAreRead()
{
    const ProgramOptions none = parseProgramOptions({QStringLiteral("morvane")});
    QVERIFY(none.ok);
    QVERIFY(none.home.isEmpty());
    QVERIFY(!none.demo);

    const ProgramOptions both =
        parseProgramOptions({QStringLiteral("morvane"), QStringLiteral("--home"),
                             QStringLiteral("/tmp/仓库"), QStringLiteral("--demo")});
    QVERIFY(both.ok);
    QCOMPARE(both.home, QStringLiteral("/tmp/仓库"));
    QVERIFY(both.demo);

    const ProgramOptions wrong =
        parseProgramOptions({QStringLiteral("morvane"), QStringLiteral("--colour")});
    QVERIFY(!wrong.ok);
    QVERIFY(!wrong.error.isEmpty());
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
