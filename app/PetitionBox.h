#pragma once

#include <QLineEdit>

#include <functional>

// The petition box. For one key stroke it calls keyDown, then keyPress when the key produces a
// character, then lets the box edit itself, then keyUp on the real release; auto-repeat repeats
// keyDown and keyPress only. Text committed by an input method (dead keys, compose: ã, é, ç)
// takes the same road, so it is captured and hidden like any typed character.
class PetitionBox : public QLineEdit {
    Q_OBJECT
public:
    explicit PetitionBox(QWidget* parent = nullptr);

    std::function<void(int vk)> keyDown;
    std::function<void(QChar ch)> keyPress;
    std::function<void(int vk)> keyUp;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};
