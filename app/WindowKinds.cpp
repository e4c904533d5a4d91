#include "WindowKinds.h"

#include <QGuiApplication>

namespace {

// The performer's pairing window opens before the stage, for the performer's eyes only: it never
// takes the keyboard, which belongs to the petition box.
constexpr Qt::WindowFlags kPairing = Qt::Window | Qt::WindowDoesNotAcceptFocus;

// By window, then by window system: X11, Wayland.
constexpr WindowKind kKinds[3][2] = {
    // The voice window.
    { { false, Qt::Window, false }, { true, Qt::Widget, false } },
    // The consultation.
    { { false, Qt::Window | Qt::FramelessWindowHint, false }, { true, Qt::Widget, false } },
    // The pairing window.
    { { false, kPairing, true }, { false, kPairing, true } },
};

}

WindowKind windowKind(ChildWindow window, WindowSystem system)
{
    return kKinds[static_cast<int>(window)][static_cast<int>(system)];
}

// Inside a Wayland session even an X11 client is placed by the compositor: Xwayland hands its
// windows to it, and sway, for one, centres each new one over the stage.
WindowSystem currentWindowSystem()
{
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return wayland ? WindowSystem::Wayland : WindowSystem::X11;
}

QPoint placeClearOf(const QRect& wanted, const QRect& keepClear)
{
    if (!wanted.intersects(keepClear))
        return wanted.topLeft();
    return { wanted.left(), keepClear.bottom() + 1 };
}

QPoint panelPlace(const QSize& stage, const QSize& panel)
{
    return { 0, stage.height() - panel.height() };
}
