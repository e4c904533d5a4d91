#include "FullScreen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

// How close to the screen's top edge the pointer calls the menu bar, and how far below the bar
// it lets it go again, in pixels.
constexpr int kTopEdge = 2;
constexpr int kMenuBarMargin = 24;

bool isToggleKey(const QEvent* event)
{
    return (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        && static_cast<const QKeyEvent*>(event)->key() == FullScreen::kToggleKey;
}

}

FullScreen::FullScreen(QMainWindow* window)
    : QObject(window)
    , m_window(window)
    , m_menuBar(window->menuBar())
{
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] {
        // Qt moves the window to a remaining screen once this signal is over.
        QTimer::singleShot(0, this, &FullScreen::screenRemoved);
    });
}

StageScale FullScreen::stageScaleOn(const QScreen& screen)
{
    return StageScale(screen.size(), screen.devicePixelRatio());
}

bool FullScreen::isFull() const
{
    return m_window->windowState().testFlag(Qt::WindowFullScreen);
}

void FullScreen::enter(QScreen* screen)
{
    screen = screen ? screen : m_window->screen();
    if (!isFull() && m_window->isVisible()) {
        m_normal = m_window->windowHandle()->geometry();
    } else if (!isFull()) {
        // Never shown yet: out of full screen it stands in the middle of its screen.
        m_normal = QRect(QPoint(), m_window->size());
        m_normal.moveCenter(screen->availableGeometry().center());
    }
    if (m_window->screen() != screen)
        m_window->setScreen(screen);
    m_window->showFullScreen();
    // On X11 without a window manager nothing else gives the window the whole screen. (Its
    // widget's geometry would take it out of full screen again: the window's is set.)
    placeOnX11(screen->geometry());
}

void FullScreen::toggle()
{
    if (!isFull()) {
        enter();
        return;
    }
    m_window->showNormal();
    // As with entering: without a window manager the window takes back its place itself.
    if (m_normal.isValid())
        placeOnX11(m_normal);
}

void FullScreen::placeOnX11(const QRect& geometry)
{
    // A Wayland compositor alone places its windows.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        m_window->windowHandle()->setGeometry(geometry);
}

void FullScreen::screenRemoved()
{
    if (isFull())
        enter(m_window->screen());
}

bool FullScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (isToggleKey(event)) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->type() == QEvent::KeyPress && !key->isAutoRepeat())
            toggle();
        return true;
    }
    if (watched == m_window && event->type() == QEvent::WindowStateChange)
        floatMenuBar(isFull());
    else if (watched == m_window && event->type() == QEvent::Resize && isFull())
        m_menuBar->resize(m_window->width(), m_menuBar->height());
    else if (event->type() == QEvent::MouseMove && isFull())
        pointerAt(static_cast<const QMouseEvent*>(event)->globalPosition());
    return false;
}

void FullScreen::pointerAt(QPointF global)
{
    const int top = m_window->geometry().top();
    if (global.y() < top + kTopEdge)
        showMenuBar(true);
    else if (global.y() > top + m_menuBar->height() + kMenuBarMargin
        && !QApplication::activePopupWidget())
        showMenuBar(false);
}

// In full screen the menu bar leaves the window's layout, so the stage keeps the whole screen
// whether the bar shows or not; out of it, the bar is laid out above the stage again.
void FullScreen::floatMenuBar(bool floating)
{
    if (floating == (m_window->layout()->menuBar() == nullptr))
        return;
    m_window->layout()->setMenuBar(floating ? nullptr : m_menuBar);
    if (floating)
        m_menuBar->setGeometry(0, 0, m_window->width(), m_menuBar->sizeHint().height());
    showMenuBar(!floating);
}

void FullScreen::showMenuBar(bool show)
{
    m_menuBar->setVisible(show);
    if (show)
        m_menuBar->raise();
}
