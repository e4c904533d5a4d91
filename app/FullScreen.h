#pragma once

#include "StageScale.h"

#include <QObject>
#include <QRect>

class QMainWindow;
class QMenuBar;
class QScreen;

// Full screen for the stage's window, as a show on a TV or a projector needs it. F11 puts the
// window in full screen and takes it out again from any of the program's windows, at any moment;
// the key goes no further, so the trick never sees it. In full screen the menu bar is hidden and
// comes back, over the stage, while the pointer rests on the screen's top edge: the stage never
// moves or changes size for it. A window in full screen whose screen goes away is put in full
// screen on the screen it lands on.
class FullScreen : public QObject {
    Q_OBJECT
public:
    static constexpr Qt::Key kToggleKey = Qt::Key_F11;

    explicit FullScreen(QMainWindow* window);

    // The stage's scale in full screen on `screen`: the menu bar floats, so the stage has the
    // whole screen.
    static StageScale stageScaleOn(const QScreen& screen);

    // Shows the window in full screen on `screen`, or on its own screen when null.
    void enter(QScreen* screen = nullptr);
    void toggle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isFull() const;
    void showMenuBar(bool show);
    void floatMenuBar(bool floating);
    void placeOnX11(const QRect& geometry);
    void pointerAt(QPointF global);
    void screenRemoved();

    QMainWindow* m_window;
    QMenuBar* m_menuBar;
    QRect m_normal; // the window's place before full screen, when it had one
};
