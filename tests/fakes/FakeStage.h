#pragma once

#include "OracleStage.h"

#include <QLineEdit>
#include <QWidget>

// The oracle's stage as a window opened over it sees it: a voice, an orb that only counts, and
// a window whose petition box gets the keyboard back.
class FakeStage final : public OracleStage {
public:
    explicit FakeStage(SpeechEngine& voice)
        : m_voice(voice)
    {
    }

    QWidget window;
    QLineEdit* petitionBox = new QLineEdit(&window);
    int orbs = 0;
    int keyboardsReturned = 0;
    int firstAnimationLeft = 0;

    SpeechEngine& voice() override { return m_voice; }
    void acende_bola() override { ++orbs; }
    void returnKeyboard() override
    {
        ++keyboardsReturned;
        petitionBox->clear();
        petitionBox->activateWindow();
        petitionBox->setFocus();
    }
    Place place() const override { return { window.frameGeometry().top(), firstAnimationLeft }; }
    void placeWindow(QWidget& opened, const QPoint& wanted) override { opened.move(wanted); }
    void present(QWidget& opened) override { opened.show(); }

private:
    SpeechEngine& m_voice;
};
