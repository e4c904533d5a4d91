#pragma once

#include <QObject>
#include <QSet>

class QWidget;

// Ctrl+Shift+R in the petition box (install it there as an event filter) reopens the operator
// window. Ctrl, every key pressed while it
// is held, and those keys' releases (in whatever order they come) are kept from the box, so the
// shortcut is never a key of the trick: no click, no captured character, no petition character
// revealed. Hence Ctrl goes down first: a Shift pressed before it is an ordinary Shift.
class OperatorShortcut : public QObject {
    Q_OBJECT
public:
    explicit OperatorShortcut(QWidget* operatorWindow, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_operatorWindow;
    QSet<int> m_heldBack;
};
