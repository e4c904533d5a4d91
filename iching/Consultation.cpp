#include "Consultation.h"

#include "HexagramTable.h"

void Consultation::select(const QString& codigo)
{
    m_iching_posicao = 1;
    if (const int index = findHexagram(codigo))
        m_iching_indice = index;
}

// The position is 1-based: the next word begins at character m_iching_posicao.
Consultation::Display Consultation::nextWord()
{
    const QString text = advice();
    if (text.isEmpty() || !m_iching_ativo)
        return Display::Off;
    const int length = static_cast<int>(text.size());
    for (int i = m_iching_posicao; i <= length; ++i) {
        if (text.at(i - 1) == QLatin1Char(' ') || i == length) {
            m_iching_posicao = i + 1;
            return Display::Grown;
        }
    }
    return Display::Unchanged;
}

void Consultation::close()
{
    m_iching_indice = 0;
    m_iching_ativo = false;
    m_iching_posicao = 1;
}

QString Consultation::name() const
{
    return iching_nome(m_iching_indice);
}

QString Consultation::advice() const
{
    return iching_texto(m_iching_indice);
}

QString Consultation::revealed() const
{
    return advice().left(m_iching_posicao - 1);
}
