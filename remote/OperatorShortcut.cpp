#include "OperatorShortcut.h"

#include <QKeyEvent>
#include <QWidget>

OperatorShortcut::OperatorShortcut(QWidget* operatorWindow, QObject* parent)
    : QObject(parent)
    , m_operatorWindow(operatorWindow)
{
}

bool OperatorShortcut::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyRelease) {
        if (key->isAutoRepeat())
            return m_heldBack.contains(key->key());
        return m_heldBack.remove(key->key());
    }
    if (key->key() != Qt::Key_Control && !key->modifiers().testFlag(Qt::ControlModifier))
        return false;
    m_heldBack.insert(key->key());
    if (key->key() == Qt::Key_R && key->modifiers().testFlag(Qt::ShiftModifier)) {
        m_operatorWindow->show();
        m_operatorWindow->raise();
    }
    return true;
}
