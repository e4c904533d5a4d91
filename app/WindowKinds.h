#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

// How each window the oracle opens beside its stage is shown, on each kind of window system.
//
// Under X11 a program places its own windows, so the voice window and the consultation are
// windows of their own where they have always stood (kept off the petition box). A Wayland
// compositor places a new window where it likes (KWin and sway in the middle of the screen, over
// the petition box), refuses to hand the keyboard back to a window that asks, and announces a
// window shown without the keyboard ("... is ready"); there both are panels inside the stage's
// own window, beneath the petition box, so that no window is ever placed or activated by the
// compositor behind the operator's back.
enum class ChildWindow { Voice, Consultation, Pairing };
enum class WindowSystem { X11, Wayland };

struct WindowKind {
    bool panel; // inside the stage's window rather than a window of its own
    Qt::WindowFlags flags;
    // Shown without the keyboard: the window system must not move the keyboard to it.
    bool withoutKeyboard;
};

WindowKind windowKind(ChildWindow window, WindowSystem system);

// The kind of window system this program runs in; an X server of its own lets a program place
// its windows, a Wayland session (natively or through Xwayland) does not.
WindowSystem currentWindowSystem();

// Where a window of its own stands: where it asks to, or, should that cover `keepClear` (the
// petition box, on screen), just below it.
QPoint placeClearOf(const QRect& wanted, const QRect& keepClear);

// Where a panel stands inside the stage: at its bottom left corner, beneath the petition box.
QPoint panelPlace(const QSize& stage, const QSize& panel);
