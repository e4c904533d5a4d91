#pragma once

#include "Consultation.h"
#include "ScaledLayout.h"
#include "StageLook.h"
#include "StickCasting.h"

#include <QCursor>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <array>

class QLabel;
class OracleStage;
class QLineEdit;
class QTextEdit;
class Random;
class SpeechEngine;

// The I Ching consultation window. The user drags six of the twelve sticks onto the square;
// the sixth drop makes the stage's orb glow, shows the hexagram's name and speaks its advice
// with the oracle's voice while mostra_palavra() reveals it word by word. Esc or "Sair" speaks
// a closing phrase (again, when pressed again meanwhile), gives the keyboard back to the stage's
// petition box and deletes the window.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(OracleStage& stage, Random& random, QWidget* parent = nullptr,
        Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint);

    void Form_Load();
    // The advice keyword while the window is open: nothing reloads, the reading's display
    // starts over from its first word.
    void reopen();
    void mostra_hexagrama();
    void sair();
    // Runs for every word the oracle's voice speaks.
    void mostra_palavra();

    // Picks a stick up; `grabPoint` is where the pointer holds its picture during the drag.
    void Picture1_MouseDown(int stick, QPoint grabPoint = {});
    void Form_DragDrop(int stick);

    // Shows the window at the stage's scale; it keeps its design's pixels and twips.
    void setScale(const StageScale& scale);

    static const char* const kMimePauzinho;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* Picture1(int stick) const { return m_Picture1.at(static_cast<size_t>(stick)); }
    void buildTexts();
    void buildExitLabel();
    void buildSticks();
    void watch(QWidget* widget);
    bool filterExitLabel(QEvent* event);
    bool filterStick(int stick, QEvent* event);
    void placeSticks();
    void placeWindow();
    void makeHands();
    void setLabel1Colour(const QColor& colour);
    static bool interrupted(const QPointer<Form2>& self);

    OracleStage& m_stage;
    SpeechEngine& m_tts1;

    Consultation m_consultation;
    StickCasting m_casting;
    QLineEdit* m_Text3 = nullptr;
    QTextEdit* m_Text2 = nullptr;
    QLabel* m_Label1 = nullptr;
    std::array<QLabel*, StickCasting::kPauzinhos> m_Picture1 {};
    ScaledLayout m_layout;
    QCursor m_MaoAberta;
    QCursor m_MaoFechada;

    bool m_perguntou = false;
    bool m_saindo = false;
    // Closing phrases being said: the window closes when the last of them has ended.
    int m_closingPhrases = 0;
    WindowDrag m_drag;
};
