#include "PetitionBox.h"

#include "KeyCodes.h"

#include <QKeyEvent>
#include <QPointer>

namespace {

// Control characters other than Backspace are not characters the operator types: Enter's
// carriage return, for one, would otherwise be collected into the next hidden answer.
bool isTypedCharacter(QChar ch)
{
    return ch.unicode() == vk::Backspace || (ch.unicode() >= 0x20 && ch.unicode() != 0x7f);
}

}

PetitionBox::PetitionBox(QWidget* parent)
    : QLineEdit(parent)
{
}

void PetitionBox::keyPressEvent(QKeyEvent* event)
{
    QPointer<PetitionBox> self(this);
    if (keyDown)
        keyDown(virtualKey(event->key()));
    // keyDown may have run a whole answer, with events processed meanwhile.
    if (!self)
        return;
    const QString text = event->text();
    if (keyPress) {
        for (QChar ch : text) {
            if (isTypedCharacter(ch))
                keyPress(ch);
        }
    }
    QLineEdit::keyPressEvent(event);
}

void PetitionBox::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat() && keyUp)
        keyUp(virtualKey(event->key()));
    QLineEdit::keyReleaseEvent(event);
}

void PetitionBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QPointer<PetitionBox> self(this);
    if (keyDown)
        keyDown(0);
    if (!self)
        return;
    if (keyPress) {
        for (QChar ch : committed)
            keyPress(ch);
    }
    QLineEdit::inputMethodEvent(event);
    if (keyUp)
        keyUp(0);
}
