#pragma once

#include "StickCasting.h"

#include <QCursor>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

struct IchingState;
class QLabel;
class QLineEdit;
class QTextEdit;
class Random;
class SpeechEngine;

// The I Ching consultation window. The user drags six of the twelve sticks onto the square;
// the sixth drop makes the main window's orb glow, shows the hexagram's name and speaks its
// advice through the main window's engine while mostra_palavra() reveals it word by word.
// Esc or "Sair" speaks a closing phrase, gives the keyboard back to the main window's
// petition box and deletes the window.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(IchingState& state, SpeechEngine& tts1, Random& random, std::function<void()> acende_bola,
        QLineEdit* form1Text1, QWidget* form1, QWidget* form1Gif89a1_0, QWidget* parent = nullptr);

    void Form_Load();
    void mostra_hexagrama();
    void sair();
    // The main window calls this for every word its engine speaks.
    void mostra_palavra();

    // Picks a stick up; `ponto` is where the pointer holds its picture during the drag.
    void Picture1_MouseDown(int pauzinho, QPoint ponto = {});
    void Form_DragDrop(int pauzinho);

    QLineEdit* Text3() const { return m_Text3; }
    QTextEdit* Text2() const { return m_Text2; }
    QLabel* Label1() const { return m_Label1; }
    QLabel* Picture1(int pauzinho) const { return m_Picture1.at(static_cast<size_t>(pauzinho)); }
    const StickCasting& lancamento() const { return m_lancamento; }
    int perguntou() const { return m_perguntou; }

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
    void cria_textos();
    void cria_sair();
    void cria_pauzinhos();
    void vigia(QWidget* widget);
    bool filtra_sair(QEvent* event);
    bool filtra_pauzinho(int pauzinho, QEvent* event);
    void posiciona_pauzinhos();
    void posiciona_janela();
    void Label1_cor(const QColor& cor);
    bool interrompida(const QPointer<Form2>& self) const;

    IchingState& m_state;
    SpeechEngine& m_tts1;
    std::function<void()> m_acende_bola;
    QPointer<QLineEdit> m_form1Text1;
    QPointer<QWidget> m_form1;
    QPointer<QWidget> m_form1Gif89a1_0;

    StickCasting m_lancamento;
    QLineEdit* m_Text3 = nullptr;
    QTextEdit* m_Text2 = nullptr;
    QLabel* m_Label1 = nullptr;
    std::array<QLabel*, StickCasting::kPauzinhos> m_Picture1 {};
    QCursor m_MaoAberta;
    QCursor m_MaoFechada;

    qint16 m_perguntou = 0;
    bool m_saindo = false;
    bool m_movendo = false;
    QPoint m_pega_janela;
};
