// The smaller control kinds: Enter and focus signals of edit and combo boxes, status panes,
// the draw panel's picture, the web panel's address rules, date pickers, the non-visual
// stand-in, and a window's place kept from one run to the next.

#include "common/oledate.h"
#include "support/pointer.h"
#include "widgets/colourpicker.h"
#include "widgets/combobox.h"
#include "widgets/datepicker.h"
#include "widgets/drawpanel.h"
#include "widgets/editbox.h"
#include "widgets/nonvisualcontrol.h"
#include "widgets/picturebox.h"
#include "widgets/statuspanes.h"
#include "widgets/webpanel.h"
#include "widgets/windowmemory.h"

#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace mv;

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void editBoxEnter()
    {
        EditBox edit;
        QSignalSpy enter(&edit, &EditBox::enterPressed);
        QTest::keyClicks(&edit, u"admin"_qs);
        QCOMPARE(enter.count(), 0);
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClick(&edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(enter.count(), 2);
        QCOMPARE(edit.text(), u"admin"_qs);

        edit.setPasswordMode(true);
        QCOMPARE(edit.echoMode(), QLineEdit::Password);
        edit.setPasswordMode(false);
        QCOMPARE(edit.echoMode(), QLineEdit::Normal);
    }

    void comboBoxEnterAndFocus()
    {
        QWidget window;
        auto* other = new EditBox(&window);
        auto* combo = new ComboBox(&window);
        combo->move(0, 40);
        combo->addItems({u"张三"_qs, u"李四"_qs});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(combo->isEditable());

        QSignalSpy focus(combo, &ComboBox::gotFocus);
        QSignalSpy enter(combo, &ComboBox::enterPressed);
        other->setFocus();
        combo->setFocus();
        QCOMPARE(focus.count(), 1);
        combo->setEditText(QString());
        QTest::keyClicks(combo, u"wang"_qs);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(enter.count(), 1);
        // Enter does not add the typed name to the list.
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), u"wang"_qs);

        // A text wider than the box shows whole where the mouse rests, the box disabled too.
        combo->setFixedWidth(70);
        combo->setEnabled(false);
        const auto restOn = [combo](const QString& text) {
            combo->setEditText(text);
            return test::toolTipAt(combo->lineEdit(), combo->lineEdit()->rect().center());
        };
        QCOMPARE(restOn(u"华南铝材有限公司"_qs), u"华南铝材有限公司"_qs);
        QCOMPARE(restOn(u"华南"_qs), QString());

        // The wheel turned over the box leaves the typed text, though the list has others.
        combo->setEnabled(true);
        combo->addItem(u"华南玻璃"_qs);
        combo->setFocus();
        test::turnWheel(combo);
        QCOMPARE(combo->currentText(), u"华南"_qs);
    }

    void statusPanes()
    {
        StatusPanes status;
        QCOMPARE(status.paneCount(), 0);
        QCOMPARE(status.addPane(100), 0);
        QCOMPARE(status.addPane(300), 1);
        status.setPaneText(0, u"操作：admin"_qs);
        QCOMPARE(status.paneText(0), u"操作：admin"_qs);
        QCOMPARE(status.pane(1)->width(), 300);
        QCOMPARE(status.paneText(1), QString());
        QCOMPARE(status.paneText(5), QString());
        status.setPaneText(5, u"x"_qs); // ignored
        QCOMPARE(status.paneCount(), 2);
    }

    void drawPanelPicture()
    {
        // As the stripe window does it: width 1, then the height, then the upper half.
        DrawPanel panel;
        panel.setBackgroundColor(QColor(255, 255, 223));
        panel.setBrushColor(Qt::white);
        panel.setPenColor(Qt::white);
        panel.resize(1, 50);
        panel.resize(1, 20);
        panel.fillRect(QRect(0, 0, 1, 10));
        const QImage picture = panel.picture().toImage();
        QCOMPARE(picture.size(), QSize(1, 20));
        QCOMPARE(picture.pixelColor(0, 9), QColor(Qt::white));
        QCOMPARE(picture.pixelColor(0, 10), QColor(255, 255, 223));
    }

    void webPanelAddresses()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile page(dir.filePath(u"home.html"_qs));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body><p>欢迎</p></body></html>");
        page.close();
        const QUrl home = QUrl::fromLocalFile(page.fileName());

        WebPanel panel;
        QSignalSpy changed(&panel, &WebPanel::addressChanged);
        panel.setAddress(QUrl(u"http://example.invalid/"_qs));
        QCOMPARE(changed.count(), 0);
        QVERIFY(panel.address().isEmpty());

        // Set from another thread: the change arrives on the panel's own thread.
        QThread* worker = QThread::create([&panel, home] { panel.setAddress(home); });
        worker->start();
        QVERIFY(worker->wait(10000));
        delete worker;
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(panel.address(), home);
        QVERIFY(panel.toPlainText().contains(u"欢迎"_qs));

        // A link to the outside opens nothing.
        emit panel.anchorClicked(QUrl(u"https://example.invalid/forum"_qs));
        QCOMPARE(panel.address(), home);
        QVERIFY(WebPanel::isLocalAddress(QUrl(u"qrc:/home.html"_qs)));
        QVERIFY(!WebPanel::isLocalAddress(QUrl(u"ftp://x/y"_qs)));
    }

    void datePicker()
    {
        setClockForTests(QDateTime(QDate(2010, 1, 5), QTime(9, 30)));
        DatePicker picker;
        setClockForTests(QDateTime());
        QCOMPARE(picker.date(), QDate(2010, 1, 5));
        QVERIFY(picker.calendarPopup());
        QCOMPARE(picker.text(), u"2010年1月5日"_qs);

        // A click into the year or the day and the digits typed then replace that part; a
        // cursor left inside a full part refused every digit.
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        const auto clickCharacter = [&picker](int index) {
            QLineEdit* text = picker.findChild<QLineEdit*>();
            text->setCursorPosition(index);
            const QPoint left = text->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            text->setCursorPosition(index + 1);
            const QPoint right = text->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QTest::mouseClick(text, Qt::LeftButton, {}, (left + right) / 2);
        };
        clickCharacter(1);
        QTest::keyClicks(&picker, u"2011"_qs);
        clickCharacter(7);
        QTest::keyClicks(&picker, u"9"_qs);
        QCOMPARE(picker.date(), QDate(2011, 1, 9));

        // The wheel steps the date only once the picker has the focus.
        QLineEdit other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        test::turnWheel(&picker);
        QCOMPARE(picker.date(), QDate(2011, 1, 9));
        picker.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        picker.setFocus();
        test::turnWheel(&picker);
        QVERIFY(picker.date() != QDate(2011, 1, 9));

        // Tab leaves the picker for the next field.
        QWidget form;
        auto* date = new DatePicker(&form);
        auto* next = new QLineEdit(&form);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Tab);
        QVERIFY(next->hasFocus());
    }

    void nonVisualStaysHidden()
    {
        QWidget window;
        auto* connection = new NonVisualControl(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        connection->show();
        QVERIFY(!connection->isVisible());
    }

    void pictureAndColour()
    {
        PictureBox picture;
        QSignalSpy down(&picture, &PictureBox::leftButtonDown);
        QTest::mousePress(&picture, Qt::RightButton);
        QTest::mousePress(&picture, Qt::LeftButton);
        QCOMPARE(down.count(), 1);

        ColourPicker colour;
        QSignalSpy changed(&colour, &ColourPicker::colorChanged);
        colour.setColor(QColor(255, 0, 0));
        colour.setColor(QColor(255, 0, 0));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(colour.color(), QColor(255, 0, 0));
    }

    // A run moves and enlarges the window; the next run shows it there, in that size.
    void windowPlaceIsKept()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().remove(u"window/主窗"_qs);
        const QRect moved(60, 70, 420, 310);
        {
            WindowMemory memory(u"主窗"_qs);
            QWidget window;
            window.setObjectName(u"主窗"_qs);
            window.setGeometry(10, 10, 300, 200);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.setGeometry(moved);
            QTRY_COMPARE(window.geometry(), moved);
        }
        WindowMemory memory(u"主窗"_qs);
        QWidget window, other;
        window.setObjectName(u"主窗"_qs);
        window.setGeometry(10, 10, 300, 200);
        other.setGeometry(10, 10, 300, 200);
        window.show();
        other.show();
        QCOMPARE(window.geometry(), moved);
        QCOMPARE(other.geometry(), QRect(10, 10, 300, 200));

        // Left partly outside a screen smaller than it was on: shown whole on this one.
        const QRect room = window.screen()->availableGeometry();
        window.setGeometry(room.right() - 100, room.bottom() - 100, room.width() + 50, 300);
        QTRY_COMPARE(window.width(), room.width() + 50);
        WindowMemory again(u"主窗"_qs);
        QWidget next;
        next.setObjectName(u"主窗"_qs);
        next.show();
        QVERIFY(room.contains(next.geometry()));
        QCOMPARE(next.height(), 300);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
