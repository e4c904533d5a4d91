#include "KeyboardKeeper.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWindow>

KeyboardKeeper::KeyboardKeeper(QWidget& owner, std::function<void()> reclaim)
    : m_owner(owner)
    , m_reclaim(std::move(reclaim))
{
}

KeyboardKeeper::~KeyboardKeeper()
{
    release();
}

void KeyboardKeeper::guard(QWidget* window)
{
    if (!m_filtering)
        qApp->installEventFilter(this);
    m_filtering = true;
    m_guarded = window;
    m_wasActivated = window->isActiveWindow();
    if (m_wasActivated)
        m_reclaim();
}

void KeyboardKeeper::release()
{
    m_guarded.clear();
    if (m_filtering)
        qApp->removeEventFilter(this);
    m_filtering = false;
}

bool KeyboardKeeper::belongsToGuarded(QObject* watched) const
{
    if (auto* window = qobject_cast<QWindow*>(watched))
        return window == m_guarded->windowHandle();
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == m_guarded;
}

bool KeyboardKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_guarded) {
        release();
        return false;
    }
    if (!belongsToGuarded(watched))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Taken where the window system hands them over, before any widget of the window.
        return qobject_cast<QWindow*>(watched) && handOver(event);
    case QEvent::InputMethod:
        return handOver(event);
    case QEvent::WindowActivate:
        if (watched == m_guarded) {
            m_wasActivated = true;
            m_reclaim();
        }
        return false;
    case QEvent::WindowDeactivate:
        if (watched == m_guarded && m_wasActivated)
            release();
        return false;
    case QEvent::MouseButtonPress:
        release();
        return false;
    case QEvent::Hide:
        if (watched == m_guarded)
            release();
        return false;
    default:
        return false;
    }
}

bool KeyboardKeeper::handOver(QEvent* event)
{
    if (event->type() == QEvent::InputMethod) {
        auto* typed = static_cast<QInputMethodEvent*>(event);
        QInputMethodEvent copy(typed->preeditString(), typed->attributes());
        copy.setCommitString(
            typed->commitString(), typed->replacementStart(), typed->replacementLength());
        QCoreApplication::sendEvent(&m_owner, &copy);
        return true;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
        key->nativeVirtualKey(), key->nativeModifiers(), key->text(), key->isAutoRepeat(),
        ushort(key->count()), key->device());
    QCoreApplication::sendEvent(&m_owner, &copy);
    return true;
}
