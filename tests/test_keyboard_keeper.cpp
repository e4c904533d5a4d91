#include "KeyboardKeeper.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

namespace {

// A stage with its box, and a window opened over it with a box of its own, as the window system
// would drive them: activation, pointer presses, keys and input-method text.
struct Desk {
    QWidget stage;
    QLineEdit* box = new QLineEdit(&stage);
    QWidget opened;
    QLineEdit* field = new QLineEdit(&opened);
    int reclaimed = 0;
    KeyboardKeeper keeper { *box, [this] { ++reclaimed; } };

    Desk()
    {
        opened.show();
        field->setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&opened));
        stage.show();
        box->setFocus();
        stage.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&stage));
    }

    void act(const QString& step)
    {
        if (step == QLatin1String("guard")) {
            keeper.guard(&opened);
        } else if (step == QLatin1String("activate")) {
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&opened, &activate);
        } else if (step == QLatin1String("deactivate")) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(&opened, &deactivate);
        } else if (step == QLatin1String("press")) {
            QTest::mouseClick(field, Qt::LeftButton);
        } else if (step == QLatin1String("hide")) {
            opened.hide();
        } else if (step == QLatin1String("show")) {
            opened.show();
            field->setFocus();
        } else if (step == QLatin1String("key")) {
            QTest::keyClick(opened.windowHandle(), 'k');
        } else if (step == QLatin1String("composed")) {
            QInputMethodEvent composed;
            composed.setCommitString(QString::fromUtf8("ã"));
            QCoreApplication::sendEvent(field, &composed);
        } else if (step == QLatin1String("stage key")) {
            QTest::keyClick(stage.windowHandle(), 's');
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
};

}

class KeyboardKeeperTest : public QObject {
    Q_OBJECT
private slots:
    void keysGoToTheKeeperUntilTheOpenedWindowIsTakenUp_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("reclaimed");

        const auto steps
            = [](const char* list) { return QString::fromLatin1(list).split(QLatin1Char(',')); };
        QTest::newRow("not guarded") << steps("key") << ""
                                     << "k" << 0;
        QTest::newRow("a key") << steps("guard,key,key") << "kk"
                               << "" << 0;
        QTest::newRow("composed text")
            << steps("guard,composed") << QString::fromUtf8("ã") << "" << 0;
        QTest::newRow("activated by the window system") << steps("guard,activate,key") << "k"
                                                        << "" << 1;
        QTest::newRow("activation given back") << steps("guard,activate,deactivate,key") << ""
                                               << "k" << 1;
        QTest::newRow("left inactive, never activated") << steps("guard,deactivate,key") << "k"
                                                        << "" << 0;
        QTest::newRow("pointer pressed in it") << steps("guard,press,key") << ""
                                               << "k" << 0;
        QTest::newRow("hidden, shown again by hand") << steps("guard,hide,show,key") << ""
                                                     << "k" << 0;
        QTest::newRow("the stage's own keys") << steps("guard,stage key") << "s"
                                              << "" << 0;
        QTest::newRow("guarded again after it was taken up")
            << steps("guard,press,guard,key") << "k"
            << "" << 0;
    }
    void keysGoToTheKeeperUntilTheOpenedWindowIsTakenUp()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, box);
        QFETCH(QString, field);
        QFETCH(int, reclaimed);

        auto desk = std::make_unique<Desk>();
        for (const QString& step : steps)
            desk->act(step);
        QCOMPARE(desk->box->text(), box);
        QCOMPARE(desk->field->text(), field);
        QCOMPARE(desk->reclaimed, reclaimed);
    }

    void aWindowAlreadyActiveWhenGuardedIsReclaimedAtOnce()
    {
        Desk desk;
        desk.opened.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&desk.opened));
        desk.keeper.guard(&desk.opened);
        QCOMPARE(desk.reclaimed, 1);
    }

    void aGuardedWindowThatGoesAwayEndsTheGuard()
    {
        Desk desk;
        auto* other = new QWidget;
        other->show();
        desk.keeper.guard(other);
        delete other;
        desk.act(QStringLiteral("key"));
        QVERIFY(!desk.keeper.guarding());
        QCOMPARE(desk.field->text(), QStringLiteral("k"));
    }
};

QTEST_MAIN(KeyboardKeeperTest)
#include "test_keyboard_keeper.moc"
