#include "WindowKinds.h"

#include <QGuiApplication>

namespace {

struct Row {
    ChildWindow window;
    WindowSystem system;
    WindowKind kind;
};

// The performer's pairing window opens before the stage, for the performer's eyes only: it never
// takes the keyboard, which belongs to the petition box.
constexpr Qt::WindowFlags kPairing = Qt::Window | Qt::WindowDoesNotAcceptFocus;

constexpr Row kKinds[] = {
    { ChildWindow::Voice, WindowSystem::X11, { false, Qt::Window, false } },
    { ChildWindow::Voice, WindowSystem::Wayland, { true, Qt::Widget, false } },
    { ChildWindow::Consultation, WindowSystem::X11,
        { false, Qt::Window | Qt::FramelessWindowHint, false } },
    { ChildWindow::Consultation, WindowSystem::Wayland, { true, Qt::Widget, false } },
    { ChildWindow::Pairing, WindowSystem::X11, { false, kPairing, true } },
    { ChildWindow::Pairing, WindowSystem::Wayland, { false, kPairing, true } },
};

}

WindowKind windowKind(ChildWindow window, WindowSystem system)
{
    for (const Row& row : kKinds) {
        if (row.window == window && row.system == system)
            return row.kind;
    }
    return { false, Qt::Window, false };
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
