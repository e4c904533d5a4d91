// The windows the main window opens: voice calibration and the I Ching consultation. Each is
// loaded on first use; opening it again while it is loaded reloads nothing and brings it forward.
// Whether each is a window of its own or a panel inside the stage is WindowKinds' choice.
#include "Form1.h"

#include "Calibrar.h"
#include "Form2.h"
#include "KeyboardKeeper.h"
#include "Orb.h"
#include "PetitionBox.h"
#include "StageView.h"
#include "WindowKinds.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>

namespace {

// A window opened beside the stage is shown at the stage's scale, and follows it while open.
template <typename Window> void atStageScale(Window* window, StageView& view)
{
    window->setScale(view.scale());
    QObject::connect(&view, &StageView::scaleChanged, window, &Window::setScale);
}

}

QWidget* Form1::parentFor(bool panel) const
{
    return panel ? m_Text1->parentWidget() : nullptr;
}

void Form1::loadCalibrar()
{
    if (m_calibrar)
        return;
    const WindowKind kind = windowKind(ChildWindow::Voice, currentWindowSystem());
    m_calibrar = new Calibrar(
        m_settings, *this, m_platform.newEngine(), parentFor(kind.panel), kind.flags);
    atStageScale(m_calibrar.data(), *m_view);
    m_calibrar->Form_Load();
}

void Form1::abre_calibrar()
{
    loadCalibrar();
    present(*m_calibrar);
}

// A language command shows the voice window but leaves the keyboard with the petition box. A
// panel never takes it. A window manager activates a new window of its own once it is mapped,
// long after any focus given back here, so the keeper hands the keys it gets to the box.
void Form1::showCalibrarKeepingKeyboard()
{
    loadCalibrar();
    m_calibrar->show();
    m_calibrar->raise();
    givePetitionKeyboard();
    if (m_calibrar->isWindow())
        m_keyboardKeeper->guard(m_calibrar);
}

void Form1::abre_form2()
{
    if (m_form2) {
        m_form2->reopen();
        present(*m_form2);
        return;
    }
    const WindowKind kind = windowKind(ChildWindow::Consultation, currentWindowSystem());
    m_form2 = new Form2(*this, m_platform.random, parentFor(kind.panel), kind.flags);
    atStageScale(m_form2.data(), *m_view);
    m_form2->Form_Load();
}

void Form1::present(QWidget& window)
{
    window.show();
    window.raise();
    if (window.isWindow()) {
        window.activateWindow();
        return;
    }
    // A panel: the keyboard moves inside the stage's own window.
    (window.focusPolicy() == Qt::NoFocus ? window.nextInFocusChain() : &window)->setFocus();
}

void Form1::placeWindow(QWidget& window, const QPoint& wanted)
{
    if (!window.isWindow()) {
        window.move(panelPlace(window.parentWidget()->size(), window.size()));
        return;
    }
    const auto* box = findChild<QFrame*>(QStringLiteral("Shape1"));
    const QRect boxOnScreen(box->mapToGlobal(QPoint(0, 0)), box->size());
    window.move(placeClearOf(QRect(wanted, window.frameGeometry().size()), boxOnScreen));
}

// The operator's next keys may be a hidden answer: they must land in the petition box, not in
// a window that was just opened over the stage.
// A compositor that refuses an activation request may mark the window as asking for attention
// instead, so the stage asks only when it has lost the keyboard.
void Form1::givePetitionKeyboard()
{
    raise();
    if (!isActiveWindow())
        activateWindow();
    m_Text1->setFocus();
}

void Form1::filterPetitionKeys(QObject* filter)
{
    m_Text1->installEventFilter(filter);
}

void Form1::acende_bola()
{
    m_orb->acende_bola();
}

void Form1::returnKeyboard()
{
    m_Text1->clear();
    givePetitionKeyboard();
}

OracleStage::Place Form1::place() const
{
    const QPoint screenCorner = screen() ? screen()->geometry().topLeft() : QPoint();
    return { frameGeometry().top(), m_Gifs[0]->x(), screenCorner.x(), screenCorner.y() };
}

void Form1::descarrega_outras()
{
    for (QWidget* other :
        { static_cast<QWidget*>(m_calibrar.data()), static_cast<QWidget*>(m_form2.data()) }) {
        if (other) {
            other->hide();
            other->deleteLater();
        }
    }
}
