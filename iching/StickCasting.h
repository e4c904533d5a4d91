#pragma once

#include <QPoint>
#include <QString>

#include <array>

class Random;

// The casting of a hexagram with twelve sticks, without any widget: where each stick lies (in
// twips of the consultation window) and the code the cast has built so far.
//
// Sticks 0..5 are whole lines, 6..11 broken ones. They start in a shuffled bundle at the left
// edge, overlapping so that only their right-hand ends show. Each stick dropped on the window
// lands in the next slot of a column growing upwards; the sixth drop completes the cast, whose
// code then reads the column from top to bottom.
//
// A digit is recorded when its stick lands in the column, never when it is merely picked up,
// so a press without a drop or a drop outside the window cannot slip extra digits into a
// cast: every completed cast has exactly six digits and names a hexagram.
class StickCasting {
public:
    static constexpr int kPauzinhos = 12;
    static constexpr int kLarguraPauzinho = 1455;
    static constexpr int kAlturaPauzinho = 225;
    static constexpr int kTopoFeixe = 1200;
    static constexpr int kPassoFeixe = 135;
    static constexpr int kEsquerdaFeixe = -840;
    static constexpr int kPrimeiroTopo = 2520;
    static constexpr int kPassoColuna = 240;
    static constexpr int kEsquerdaColuna = 1200;
    static constexpr int kTopoCompleto = 1080;

    explicit StickCasting(Random& random);

    // Shuffles every stick back into the bundle, reseeding the generator before each draw.
    void arruma_acaso();
    // A drop on the window: the stick lands in the next slot whatever the drop point. Returns
    // true on the drop that completes the cast, with codigo_lancado() then read top to bottom.
    bool drop(int stick);
    // Ends a cast or a reading: empty code, next slot back at the bottom, sticks reshuffled.
    void gather();
    void clearCode() { m_codigo_lancado.clear(); }

    static bool inteiro(int stick) { return stick < 6; }
    QPoint posicao(int stick) const { return m_posicoes.at(static_cast<size_t>(stick)); }
    int topo_proximo() const { return m_topo_proximo; }
    const QString& codigo_lancado() const { return m_codigo_lancado; }

private:
    int sorteia_livre(QString& pool);

    Random& m_random;
    std::array<QPoint, kPauzinhos> m_posicoes {};
    int m_topo_proximo = kPrimeiroTopo;
    QString m_codigo_lancado;
};
