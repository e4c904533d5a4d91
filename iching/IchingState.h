#pragma once

#include <QString>
#include <QtGlobal>

// The hexagram table and the consultation state shared by the main and consultation windows.
// Index 0 of the table means "no hexagram": its code, name and text are empty.
struct IchingState {
    QString iching_codigo[65];
    QString iching_nome[65];
    QString iching_texto[65];
    qint32 iching_indice = 0;
    qint32 iching_posicao = 1;
    qint16 iching_ativo = 0;
};
