#include "OperatorShortcut.h"
#include "OperatorWindow.h"
#include "PetitionBox.h"
#include "RemoteServer.h"

#include <QLabel>
#include <QTcpServer>
#include <QtTest>

// Wiring of the operator's side: the shortcut that reopens the pairing window is no key of
// the trick, and the window shows the address or why there is none.
class TestRemoteOperator : public QObject {
    Q_OBJECT

    static QStringList labelTexts(const QWidget& window)
    {
        QStringList texts;
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (!label->text().isEmpty())
                texts << label->text();
        }
        return texts;
    }

private slots:
    void theShortcutNeverReachesThePetitionBox_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("keys released in reverse order")
            << QStringList { "+Control", "+Shift", "+R", "-R", "-Shift", "-Control" };
        QTest::newRow("Ctrl released first, the letter last")
            << QStringList { "+Control", "+Shift", "+R", "-Control", "-Shift", "-R" };
        QTest::newRow("the letter held down until it repeats")
            << QStringList { "+Control", "+Shift", "+R", "*R", "-R", "-Shift", "-Control" };
    }
    void theShortcutNeverReachesThePetitionBox()
    {
        QFETCH(QStringList, keys);
        PetitionBox box;
        QWidget operatorWindow;
        box.installEventFilter(new OperatorShortcut(&operatorWindow, &box));
        QStringList trick;
        box.keyDown = [&trick](int vk) { trick << QStringLiteral("down %1").arg(vk); };
        box.keyPress = [&trick](QChar ch) { trick << QStringLiteral("press %1").arg(ch); };
        box.keyUp = [&trick](int vk) { trick << QStringLiteral("up %1").arg(vk); };
        box.show();

        const QHash<QString, std::pair<Qt::Key, Qt::KeyboardModifier>> named {
            { "Control", { Qt::Key_Control, Qt::ControlModifier } },
            { "Shift", { Qt::Key_Shift, Qt::ShiftModifier } },
            { "R", { Qt::Key_R, Qt::NoModifier } },
        };
        Qt::KeyboardModifiers held;
        for (const QString& step : keys) {
            const auto [key, modifier] = named.value(step.mid(1));
            const bool down = step[0] != '-';
            held.setFlag(modifier, down);
            if (step[0] == '*') {
                QKeyEvent release(QEvent::KeyRelease, key, held, QString(), true);
                QCoreApplication::sendEvent(&box, &release);
            }
            QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, held,
                key == Qt::Key_R ? QStringLiteral("\x12") : QString(), step[0] == '*');
            QCoreApplication::sendEvent(&box, &event);
        }
        QCOMPARE(trick, QStringList());
        QVERIFY(box.text().isEmpty());
        QVERIFY(operatorWindow.isVisible());

        QTest::keyClick(&box, 'a');
        QCOMPARE(trick, QStringList({ "down 65", "press a", "up 65" }));
    }

    void aStartedServerShowsItsAddressWithANewTokenEachTime()
    {
        RemoteServer first(1);
        RemoteServer second(1);
        if (!first.start(0) || !second.start(0))
            QSKIP("no local network on this machine");
        QVERIFY(first.address().contains(QStringLiteral("/?t=")));
        QVERIFY(first.address().section(QStringLiteral("?t="), 1)
            != second.address().section(QStringLiteral("?t="), 1));
        OperatorWindow window(first);
        window.show();
        QVERIFY(labelTexts(window).contains(first.address()));
        // The token leaves the window, and the accessibility bus, once it is closed.
        window.close();
        for (const QWidget* shown : window.findChildren<QWidget*>())
            QVERIFY(!shown->accessibleName().contains(QStringLiteral("?t=")));
        QVERIFY(!labelTexts(window).contains(first.address()));
        QVERIFY(!OperatorWindow::qrCode(first.address(), 1).isNull());
    }

    void aTakenPortIsReportedInTheWindow()
    {
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::Any, 0));
        RemoteServer server(1);
        QVERIFY(!server.start(taken.serverPort()));
        QVERIFY(server.address().isEmpty());
        QVERIFY(!server.errorString().isEmpty());
        OperatorWindow window(server);
        QVERIFY(labelTexts(window).contains(server.errorString()));
        QVERIFY(labelTexts(window).contains(QStringLiteral("The remote answer could not start:")));
    }
};

QTEST_MAIN(TestRemoteOperator)
#include "test_remote_operator.moc"
