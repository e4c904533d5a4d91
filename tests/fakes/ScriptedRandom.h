#pragma once

#include "Random.h"

#include <QList>

// Hands out scripted draws in order, then the `cycle` values round and round (a loop that draws
// until every value has come up needs them), or `fallback` forever when there is no cycle.
class ScriptedRandom final : public Random {
public:
    QList<float> draws;
    QList<float> cycle;
    float fallback = 0.0f;
    int reseeds = 0;
    void reseed() override { ++reseeds; }
    float next() override
    {
        if (!draws.isEmpty())
            return draws.takeFirst();
        if (cycle.isEmpty())
            return fallback;
        m_at = (m_at + 1) % cycle.size();
        return cycle[m_at];
    }

private:
    qsizetype m_at = -1;
};
