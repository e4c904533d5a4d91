#pragma once

#include <QString>
#include <QtGlobal>

// One opening of the I Ching consultation, without any widget: which hexagram the last cast
// selected, how far its advice has been revealed word by word, and whether the display runs.
//
// The display runs only once the window has been opened (its instruction spoken) and until it
// is closed. Each word the oracle's voice speaks then reveals the advice up to the next blank,
// whatever is being said; the word that reaches the last character shows the whole advice.
class Consultation {
public:
    // What a word spoken by the oracle does to the advice on show.
    enum class Display {
        Off, // no reading on show, or the window not open: nothing happens, not even a repaint
        Grown, // one more word of the advice shows
        Unchanged, // the whole advice already shows: it is only repainted
    };

    // The advice keyword, again while the window is open: the display starts over from the
    // first word, and nothing else changes.
    void start() { m_iching_posicao = 1; }
    // The window has spoken its instruction: readings may show.
    void open() { m_iching_ativo = true; }
    // A completed cast: the display starts over, with the first hexagram whose code equals
    // `codigo`. A code that names none keeps the hexagram selected before, if any.
    void select(const QString& codigo);
    // A word of the oracle's voice.
    Display nextWord();
    // The window is left: no hexagram, no display, the position back at the start.
    void close();

    int iching_indice() const { return m_iching_indice; }
    int iching_posicao() const { return m_iching_posicao; }
    bool iching_ativo() const { return m_iching_ativo; }
    // The selected hexagram's name and advice (empty with none selected), and as much of the
    // advice as the display has revealed.
    QString name() const;
    QString advice() const;
    QString revealed() const;

private:
    qint32 m_iching_indice = 0;
    qint32 m_iching_posicao = 1;
    bool m_iching_ativo = false;
};
