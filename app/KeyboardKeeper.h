#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QEvent;

// Keeps the operator's keys with one widget while a window opened over it has not been taken
// up by the person at the keyboard. Window managers and Wayland compositors activate a newly
// shown window whatever the program asks, and the next keys may be a hidden answer; so while a
// window is guarded, the keys and input-method text it receives are handed to the keeper's
// widget, and when the window system activates it, the keeper asks for its own window back.
// The guard ends once the pointer is pressed in the guarded window, or it is hidden, or it
// loses the activation it was given.
class KeyboardKeeper final : public QObject {
public:
    KeyboardKeeper(QWidget& owner, std::function<void()> reclaim);
    ~KeyboardKeeper() override;

    void guard(QWidget* window);
    bool guarding() const { return !m_guarded.isNull(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToGuarded(QObject* watched) const;
    bool handOver(QEvent* event);
    void release();

    QWidget& m_owner;
    std::function<void()> m_reclaim;
    QPointer<QWidget> m_guarded;
    bool m_wasActivated = false;
    bool m_filtering = false;
};
