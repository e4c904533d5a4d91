#include "LanguageTables.h"

#include "LanguageRecord.h"

namespace {

void keywordPair(QString (&slot)[2], const char* const (&forms)[2])
{
    for (int i = 0; i < 2; ++i)
        slot[i] = QString::fromUtf8(forms[i]).toUpper();
}

}

void muda_lingua(qint16 lingua, LanguageTexts& t)
{
    const LanguageRecord* record = languageRecord(lingua);
    if (!record)
        return;
    const StagePhrases& c = record->stage;
    for (int i = 0; i < 6; ++i) {
        t.frases_recusa[i] = QString::fromUtf8(c.recusa[i]);
        t.frases_espera[i] = QString::fromUtf8(c.espera[i]);
    }
    t.frase_pedido = QString::fromUtf8(c.pedido);
    t.frase_pergunta = QString::fromUtf8(c.pergunta);
    t.frase_amigo = QString::fromUtf8(c.amigo);
    t.frase_olhos = QString::fromUtf8(c.olhos);
    t.frase_olhar = QString::fromUtf8(c.olhar);
    t.frase_morte = QString::fromUtf8(c.morte);
    t.frase_olho = QString::fromUtf8(c.olho);
    t.frase_despedida = QString::fromUtf8(c.despedida);
    keywordPair(t.palavras_voce, c.voce);
    keywordPair(t.palavras_repita, c.repita);
    keywordPair(t.palavras_exit, c.exit);
    keywordPair(t.palavras_mudar_voz, c.mudar_voz);
    keywordPair(t.palavras_conselho, c.conselho);
}

const StageTexts kStageTexts = {
    "Quorvel,. Oráculo falante - contato: oraculo@quorvel.example",
    "Se quiser um conselho, digite CONSELHO",
};

const MenuCaptions* menuCaptions(qint16 lingua)
{
    const LanguageRecord* record = languageRecord(lingua);
    return record ? &record->menus : nullptr;
}

const MenuCaptions kDesignMenuCaptions
    = { "Mudar voz", "Arquivo", "Sair", "Help", "Sobre", "Opções" };

QString languageName(std::size_t lingua)
{
    return QString::fromUtf8(languageRecord(int(lingua))->name);
}

const WidgetDescriptions* widgetDescriptions(qint16 lingua)
{
    const LanguageRecord* record = languageRecord(lingua);
    return record ? &record->descriptions : nullptr;
}

const VoiceWindowTexts* voiceWindowTexts(qint16 lingua)
{
    const LanguageRecord* record = languageRecord(lingua);
    return record ? &record->voiceWindow : nullptr;
}

const VoiceWindowDesign kVoiceWindowDesign = {
    "Vozes disponíveis",
    "Vozes instaladas no seu sistema",
    "Tom",
    "Tom  (pitch) da voz",
    "Velocidade",
    "Velocidade da fala",
    "Falar",
    "Aplicar",
    "Sair",
    "1 2 3 4 5 6 7",
};

const char* const kNoVoiceNotice
    = "Você não tem nenhuma voz instalada. Instale o arquivo de voz que "
      "acompanha o jogo ou busque na Internet por Text-to-Speech Engines";

const IchingTexts kIchingTexts = {
    "Muito bem. Enquanto mentaliza sua dúvida, arraste 6 pauzinhos para o quadrado.",
    "Medite sôbre estas palavras e tudo dará certo.",
    "Porque você não perguntou nada?",
    "I Ching",
    "Sair",
    "Nome do hexagrama",
    "Conselho do oráculo",
    "Pauzinho",
};
