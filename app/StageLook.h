#pragma once

#include <QColor>
#include <QPalette>
#include <QPoint>
#include <QRect>

#include <initializer_list>

class QMouseEvent;
class QWidget;

// The look every window of the stage shares.
//
// The windows were laid out in twips, the old unit of 1/1440 inch; at the 96 dots per inch the
// layout was drawn for, 15 twips make one pixel. Coordinates stay in twips where the layout
// gives them and become pixels here, rounded to the nearest.
namespace look {

inline constexpr int kTwipsPerPixel = 15;

int pixels(int twips);
QRect twips(int left, int top, int width, int height);

// The pale yellow of captions and of the consultation window.
inline const QColor kPaleYellow { 255, 255, 192 };

// Gives colour roles of a widget's palette a colour, leaving the others as they are.
void setColour(
    QWidget* widget, std::initializer_list<QPalette::ColorRole> roles, const QColor& colour);

// The wandering eye, in the stage's pixels: where it waits before the first key and after each
// answer, the box its top left corner jumps about in while the operator types, and where Enter
// parks it, wholly out of sight.
inline constexpr QPoint kEyeHome { 0, 0 };
inline constexpr QRect kEyeWanders { 32, 32, 388, 253 };
inline constexpr QPoint kEyeParked { -200, -200 };

// The glowing orb: up to kOrbMostPulses pulses, each of kOrbRings one-pixel rings around the
// face's centre, every ring kOrbGrowth pixels wider and kOrbFade levels darker than the last.
inline constexpr int kOrbMostPulses = 5;
inline constexpr int kOrbRings = 60;
inline constexpr double kOrbFirstRadius = 60;
inline constexpr double kOrbGrowth = 5;
inline constexpr int kOrbFirstLevel = 255;
inline constexpr int kOrbFade = 4;
static_assert(kOrbFirstLevel - kOrbFade * (kOrbRings - 1) >= 0, "the outermost ring has a colour");

// A ring of the orb at brightness `level`: yellow near the middle, fading to black outwards.
inline QColor orbRing(int level)
{
    return { level, level, 0 };
}

}

// Moves a frameless window by a press on its background: the window system moves it where it
// can; elsewhere the window follows the pointer while the button is held.
class WindowDrag {
public:
    void press(QWidget* window, QMouseEvent* event);
    void move(QWidget* window, QMouseEvent* event);
    void release();

private:
    bool m_following = false;
    QPoint m_grab;
};
