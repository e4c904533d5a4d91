#include "StickCasting.h"

#include "Random.h"

#include <algorithm>

namespace {

QString key(int stick)
{
    return QStringLiteral("%1").arg(stick, 2, 10, QLatin1Char('0'));
}

}

StickCasting::StickCasting(Random& random)
    : m_random(random)
{
}

void StickCasting::arruma_acaso()
{
    QString pool = QStringLiteral("-00-01-02-03-04-05-06-07-08-09-10-11-");
    int top = kTopoFeixe;
    while (pool != QLatin1String("-")) {
        const int n = sorteia_livre(pool);
        m_posicoes.at(static_cast<size_t>(n)) = QPoint(kEsquerdaFeixe, top);
        top += kPassoFeixe;
    }
}

// Draws until a stick still in the pool comes up, then takes it (and the dash after it) out.
int StickCasting::sorteia_livre(QString& pool)
{
    for (;;) {
        m_random.reseed();
        const int n = m_random.pick(kPauzinhos);
        const qsizetype p = pool.indexOf(key(n));
        if (p >= 0) {
            pool.remove(p, 3);
            return n;
        }
    }
}

bool StickCasting::drop(int stick)
{
    m_posicoes.at(static_cast<size_t>(stick)) = QPoint(kEsquerdaColuna, m_topo_proximo);
    m_codigo_lancado.append(inteiro(stick) ? QLatin1Char('1') : QLatin1Char('0'));
    m_topo_proximo -= kPassoColuna;
    if (m_topo_proximo != kTopoCompleto)
        return false;
    // Digits were recorded bottom slot first; the table reads lines from the top.
    std::reverse(m_codigo_lancado.begin(), m_codigo_lancado.end());
    return true;
}

void StickCasting::gather()
{
    m_codigo_lancado.clear();
    m_topo_proximo = kPrimeiroTopo;
    arruma_acaso();
}
