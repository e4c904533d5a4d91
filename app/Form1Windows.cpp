// The windows the main window opens: voice calibration and the I Ching consultation. Each is
// loaded on first use; opening it again while it is loaded reloads nothing and brings it forward.
#include "Form1.h"

#include "Calibrar.h"
#include "Form2.h"
#include "KeyboardKeeper.h"
#include "Orb.h"
#include "PetitionBox.h"

#include <QLabel>
#include <QScreen>

namespace {

void bringForward(QWidget* w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

}

void Form1::loadCalibrar()
{
    if (m_calibrar)
        return;
    m_calibrar = new Calibrar(m_settings, *this, m_platform.newEngine());
    m_calibrar->Form_Load();
}

void Form1::abre_calibrar()
{
    loadCalibrar();
    bringForward(m_calibrar);
}

// A language command shows the voice window over the stage but leaves the keyboard with the
// petition box. The window system activates a new window only once it is mapped, long after
// any focus given back here, so the window asks not to be activated; window managers and
// Wayland compositors activate it all the same, and the keeper hands its keys to the box.
void Form1::showCalibrarKeepingKeyboard()
{
    loadCalibrar();
    m_calibrar->setAttribute(Qt::WA_ShowWithoutActivating, true);
    m_calibrar->show();
    m_calibrar->raise();
    m_calibrar->setAttribute(Qt::WA_ShowWithoutActivating, false);
    givePetitionKeyboard();
    m_keyboardKeeper->guard(m_calibrar);
}

void Form1::abre_form2()
{
    if (m_form2) {
        m_form2->reopen();
        bringForward(m_form2);
        return;
    }
    m_form2 = new Form2(*this, m_platform.random);
    m_form2->Form_Load();
}

// The operator's next keys may be a hidden answer: they must land in the petition box, not in
// a window that was just opened over the stage.
void Form1::givePetitionKeyboard()
{
    raise();
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
