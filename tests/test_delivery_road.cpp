#include "Delivery.h"
#include "TypedOracle.h"

#include <QtTest>

#include <functional>

// The stage a delivery walks on, written down step by step instead of shown, on a clock moved
// by hand. What the phone and the window do meanwhile is scripted ("7000 answer sim" arms "sim"
// at 7 s, "2000 refuse" presses the refuse button, "2000 close" closes the window) and happens
// during the wait or the pulse that spans its time; a pulse lasts kPulseMs.
class RecordingStage final : public DeliveryStage {
public:
    static constexpr qint64 kPulseMs = 3000;

    RecordingStage(TypedOracle& typed, const QStringList& events)
        : m_typed(typed)
        , m_events(events)
    {
    }

    QStringList steps;

    void speak(const QString& frase) override { steps << QStringLiteral("speak ") + frase; }
    void waitForSilence() override { steps << QStringLiteral("wait for silence"); }
    void lightOrb() override { steps << QStringLiteral("light the orb"); }
    void pause(int ms) override
    {
        if (ms == Oracle::kQuickPauseMs)
            steps << QStringLiteral("quick pause");
        else if (ms >= Oracle::kShortestPauseMs && ms <= Oracle::kLongestPauseMs)
            steps << QStringLiteral("pause");
        else
            steps << QStringLiteral("a pause of %1 ms, out of every range").arg(ms);
    }
    void clearFace() override { steps << QStringLiteral("clear the face"); }
    void showRefusal() override { steps << QStringLiteral("show the refusal"); }
    void playSinister() override { steps << QStringLiteral("play SINISTER"); }
    void resetBox() override { steps << QStringLiteral("reset the box"); }

    qint64 now() override { return m_now; }
    void waitForPhone(qint64 ms) override
    {
        steps << QStringLiteral("wait for the phone");
        // Whatever the phone or the window does wakes the wait.
        runUntil(m_now + ms, [] { return true; });
    }
    void pulseOrb(const std::function<bool()>& interrupted) override
    {
        steps << QStringLiteral("pulse the orb");
        if (runUntil(m_now + kPulseMs, interrupted))
            steps << QStringLiteral("the pulse is cut short");
    }
    bool closing() const override { return m_closing; }

    void tellAsked() override { steps << QStringLiteral("told: asked"); }
    void tellPhoneWait(bool waiting) override
    {
        steps << (waiting ? QStringLiteral("told: waiting for the phone")
                          : QStringLiteral("told: the phone wait is over"));
    }
    void tellArmedFate(PetitionState::Armed fate) override
    {
        if (fate == PetitionState::Armed::Spoken)
            steps << QStringLiteral("told: the armed answer is spoken");
        if (fate == PetitionState::Armed::Dropped)
            steps << QStringLiteral("told: the armed answer is dropped");
    }
    void tellAnswered() override { steps << QStringLiteral("told: answered"); }

private:
    // Lets the scripted events up to `end` happen; true when `stop` ended it early.
    bool runUntil(qint64 end, const std::function<bool()>& stop)
    {
        while (!m_events.isEmpty() && TypedOracle::at(m_events.first()) <= end) {
            const QString event = m_events.takeFirst();
            m_now = std::max(m_now, TypedOracle::at(event));
            happen(event);
            if (stop()) {
                return true;
            }
        }
        m_now = end;
        return false;
    }
    void happen(const QString& event)
    {
        const QString at = QString::number(TypedOracle::at(event)) + QStringLiteral(": ");
        const QString what = event.section(QLatin1Char(' '), 1);
        if (what == QLatin1String("close")) {
            m_closing = true;
            steps << at + QStringLiteral("the window closes");
        } else if (what == QLatin1String("refuse")) {
            m_typed.phone(event);
            steps << at + QStringLiteral("the phone refuses");
        } else {
            m_typed.phone(event);
            steps << at + QStringLiteral("the phone answers ") + what.section(QLatin1Char(' '), 1);
        }
    }

    TypedOracle& m_typed;
    QStringList m_events;
    qint64 m_now = 0;
    bool m_closing = false;
};

class TestDeliveryRoad : public QObject {
    Q_OBJECT

    static QString u(const char* s) { return QString::fromUtf8(s); }

    // One Enter: r, the pause's draw (2000 ms), k = 0.
    static QStringList deliver(
        TypedOracle& typed, const QString& question, const QStringList& events = QStringList())
    {
        typed.type(question);
        typed.random.draws = { 0.0f, 0.5f, 0.0f };
        if (typed.enter() != Command::Answer)
            return { QStringLiteral("no answer asked for") };
        RecordingStage stage(typed, events);
        Delivery(typed.oracle, stage).entrega();
        typed.box = QStringLiteral(" ");
        return stage.steps;
    }

private slots:
    void theRoadOfEveryAnswer_data()
    {
        QTest::addColumn<bool>("phone"); // listening
        QTest::addColumn<QString>("before"); // a question answered first
        QTest::addColumn<QString>("armed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("steps");
        const QString wait = QStringLiteral("wait for silence");
        const QString refusal = u("speak Você não é o meu quorvel! Não respondo.");
        const QStringList end { QStringLiteral("play SINISTER"), QStringLiteral("reset the box"),
            QStringLiteral("told: answered") };
        const QStringList fullRoad { "told: asked", "speak Vou pensar!", wait, "light the orb" };

        QTest::newRow("a captured answer: waiting phrase, orb, pause, answer")
            << false << QString() << QString() << ",sim. vou casar?" << QStringList()
            << fullRoad + QStringList { "pause", "clear the face", "speak sim", wait } + end;
        QTest::newRow("a question to the oracle: the quick road")
            << false << QString() << QString() << ",talvez. e voce sabe?" << QStringList()
            << QStringList { "told: asked", "quick pause", "clear the face", "speak talvez", wait }
                + end;
        QTest::newRow("nothing captured: a refusal, and the face stops blinking")
            << false << QString() << QString() << "vou casar?" << QStringList()
            << QStringList {
                   "told: asked", "quick pause", "clear the face", refusal, wait, "show the refusal"
               } + end;
        QTest::newRow("repeat: the last answer again, quickly")
            << false << ",sim." << QString() << "repita" << QStringList()
            << QStringList { "told: asked", "quick pause", "clear the face", "speak sim", wait }
                + end;
        QTest::newRow("an armed answer, its sender told before the wait")
            << false << QString() << "zebra"
            << "vai chover" << QStringList()
            << fullRoad
                + QStringList { "pause", "clear the face", "speak zebra",
                      "told: the armed answer is spoken", wait }
                + end;
        QTest::newRow("repeat drops the armed answer for the last one")
            << false << ",sim."
            << "zebra"
            << "repita" << QStringList()
            << QStringList { "told: asked", "quick pause", "clear the face", "speak sim",
                   "told: the armed answer is dropped", wait }
                + end;
        QTest::newRow("the phone answers during a pulse: cut short, then the usual pause")
            << true << QString() << QString() << "vou casar?"
            << QStringList { "7000 answer com certeza" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "pulse the orb", "7000: the phone answers com certeza",
                      "the pulse is cut short", "told: the phone wait is over", "pause",
                      "clear the face", "speak com certeza", "told: the armed answer is spoken",
                      wait }
                + end;
        QTest::newRow("the phone refuses: the quick pause and a refusal")
            << true << QString() << QString() << "vou casar?" << QStringList { "2000 refuse" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "2000: the phone refuses", "told: the phone wait is over", "quick pause",
                      "clear the face", refusal, wait, "show the refusal" }
                + end;
        QTest::newRow("the phone is silent for 30 s: the orb pulses meanwhile, then a refusal")
            << true << QString() << QString() << "vou casar?" << QStringList()
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "pulse the orb", "wait for the phone", "pulse the orb", "wait for the phone",
                      "pulse the orb", "wait for the phone", "pulse the orb",
                      "told: the phone wait is over", "quick pause", "clear the face", refusal,
                      wait, "show the refusal" }
                + end;
        QTest::newRow("the window closes during the wait: the wait ends there")
            << true << QString() << QString() << "vou casar?" << QStringList { "2000 close" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "2000: the window closes", "told: the phone wait is over", "pause",
                      "clear the face", refusal, wait, "show the refusal" }
                + end;
        QTest::newRow("the window closes during a pulse: cut short")
            << true << QString() << QString() << "vou casar?" << QStringList { "6000 close" }
            << fullRoad
                + QStringList { "told: waiting for the phone", "wait for the phone",
                      "pulse the orb", "6000: the window closes", "the pulse is cut short",
                      "told: the phone wait is over", "pause", "clear the face", refusal, wait,
                      "show the refusal" }
                + end;
    }
    void theRoadOfEveryAnswer()
    {
        QFETCH(bool, phone);
        QFETCH(QString, before);
        QFETCH(QString, armed);
        QFETCH(QString, typed);
        QFETCH(QStringList, events);
        QFETCH(QStringList, steps);
        TypedOracle oracle;
        if (!before.isEmpty())
            deliver(oracle, before);
        oracle.oracle.setPhoneListening(phone);
        if (!armed.isEmpty())
            oracle.oracle.arm(armed);
        QCOMPARE(deliver(oracle, typed, events), steps);
    }
};

QTEST_GUILESS_MAIN(TestDeliveryRoad)
#include "test_delivery_road.moc"
