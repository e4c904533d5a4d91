#include "Calibrar.h"
#include "Form1Fixture.h"
#include "Form2.h"

#include <QAccessible>
#include <QRegularExpression>

namespace {

// The generic names the windows' code calls its widgets by: ids, never words for a person.
const QRegularExpression kInternalName(QStringLiteral(
    "^(Form|Calibrar|Command|Label|Text|Combo|HScroll|Picture|Image|Gif89a|Shape|Timer|Mao|menu|"
    "Menu)[A-Za-z0-9_()]*$"));

struct Heard {
    QString name;
    QAccessible::Role role;
    QObject* object;
};

void walk(QAccessibleInterface* node, QList<Heard>& heard, int depth = 0)
{
    if (!node || !node->isValid() || depth > 12)
        return;
    heard << Heard { node->text(QAccessible::Name), node->role(), node->object() };
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), heard, depth + 1);
}

// The three windows open in one interface language, the voice and consultation windows opened
// the way the operator opens them.
struct ThreeWindows {
    Form1Fixture fx;
    QList<QWidget*> windows;

    ThreeWindows(int idioma, const QString& adviceKeyword)
        : fx("[Quorvel]\nidioma=" + QByteArray::number(idioma) + "\n")
    {
        fx.loaded();
        for (int i = 0; i < 12; ++i)
            fx.random.cycle << (i + 0.5f) / 12.0f;
        fx.w.menuOpcoesVoz->trigger();
        fx.type(adviceKeyword);
        fx.enter();
        windows = { fx.form.get(), StageWidgets::calibrar(), StageWidgets::form2() };
    }
    ~ThreeWindows()
    {
        if (StageWidgets::form2())
            delete StageWidgets::form2();
        if (StageWidgets::calibrar())
            delete StageWidgets::calibrar();
    }

    QSet<QString> objectNames() const
    {
        QSet<QString> names;
        for (QWidget* window : windows) {
            names << window->objectName();
            for (QObject* object : window->findChildren<QObject*>())
                names << object->objectName();
        }
        names.remove(QString());
        return names;
    }

    QList<Heard> heard() const
    {
        QList<Heard> all;
        for (QWidget* window : windows)
            walk(QAccessible::queryAccessibleInterface(window), all);
        return all;
    }
};

bool ours(QObject* object)
{
    return object && !object->objectName().isEmpty()
        && !object->objectName().startsWith(QLatin1String("qt_"));
}

bool needsAName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::ScrollBar:
    case QAccessible::Slider:
        return true;
    default:
        return false;
    }
}

QString describe(const Heard& h)
{
    return QStringLiteral("%1 (%2) is heard as \"%3\"")
        .arg(h.object ? h.object->objectName() : QStringLiteral("?"))
        .arg(h.object ? QString::fromLatin1(h.object->metaObject()->className()) : QString())
        .arg(h.name);
}

}

class TestAccessibleNames : public QObject {
    Q_OBJECT

private slots:
    void inEveryLanguage_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("advice");
        QTest::newRow("Portuguese") << 0 << "conselho";
        QTest::newRow("English") << 1 << "advice";
        QTest::newRow("French") << 2 << "conseil";
        QTest::newRow("Spanish") << 3 << "consejo";
    }

    void noWidgetIsHeardByAnInternalName_data() { inEveryLanguage_data(); }
    void noWidgetIsHeardByAnInternalName()
    {
        QFETCH(int, idioma);
        QFETCH(QString, advice);
        ThreeWindows three(idioma, advice);
        QVERIFY(three.windows.count(nullptr) == 0);
        const QSet<QString> ids = three.objectNames();
        QVERIFY(ids.contains(QStringLiteral("Command2")));
        QStringList wrong;
        const QList<Heard> heard = three.heard();
        for (const Heard& h : heard) {
            if (ids.contains(h.name) || kInternalName.match(h.name).hasMatch())
                wrong << describe(h);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1String("; "))));
        QVERIFY(heard.size() > 40);
    }

    void everyWindowAndControlHasAName_data() { inEveryLanguage_data(); }
    void everyWindowAndControlHasAName()
    {
        QFETCH(int, idioma);
        QFETCH(QString, advice);
        ThreeWindows three(idioma, advice);
        QStringList unnamed;
        for (QWidget* window : three.windows) {
            if (QAccessible::queryAccessibleInterface(window)->text(QAccessible::Name).isEmpty())
                unnamed << window->objectName();
        }
        int controls = 0;
        for (const Heard& h : three.heard()) {
            if (!ours(h.object) || !needsAName(h.role))
                continue;
            ++controls;
            if (h.name.trimmed().isEmpty())
                unnamed << describe(h);
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1String("; "))));
        // The petition box; the list, two bars, trial box and three buttons; the hexagram's
        // name and advice.
        QCOMPARE(controls, 1 + 7 + 2);
    }
};

QTEST_MAIN(TestAccessibleNames)
#include "test_accessible_names.moc"
