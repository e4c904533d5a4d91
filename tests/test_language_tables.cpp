#include "LanguageTables.h"
#include "RemoteTexts.h"

#include <QtTest>

class TestLanguageTables : public QObject {
    Q_OBJECT

    static QStringList allSlots(const LanguageTexts& t)
    {
        QStringList s;
        for (const auto& x : t.frases_recusa)
            s << x;
        for (const auto& x : t.frases_espera)
            s << x;
        s << t.frase_pedido << t.frase_pergunta << t.frase_amigo << t.frase_olhos << t.frase_olhar
          << t.frase_morte << t.frase_olho << t.frase_despedida;
        for (const auto* pair : { &t.palavras_voce, &t.palavras_repita, &t.palavras_exit,
                 &t.palavras_mudar_voz, &t.palavras_conselho })
            s << (*pair)[0] << (*pair)[1];
        return s;
    }

private slots:
    void keywordsAreUpperCasedKeepingAccents()
    {
        LanguageTexts t;
        muda_lingua(0, t);
        QCOMPARE(t.palavras_voce[0], QString::fromUtf8("VOCÊ"));
        QCOMPARE(t.palavras_voce[1], QStringLiteral("VOCE"));
        QCOMPARE(t.palavras_mudar_voz[1], QStringLiteral("M UDAR VOZ"));
        muda_lingua(2, t);
        QCOMPARE(t.palavras_repita[0], QString::fromUtf8("RÉPÉTER"));
        QCOMPARE(t.palavras_repita[1], QString::fromUtf8("R ÉPÉTER"));
        muda_lingua(3, t);
        QCOMPARE(t.palavras_voce[0], QStringLiteral("USTED"));
        QCOMPARE(t.palavras_voce[1], QStringLiteral("USTED"));
        muda_lingua(4, t);
        QCOMPARE(t.palavras_mudar_voz[1], QString::fromUtf8("S TIMME ÄNDERN"));
    }

    void textsKeepTrailingBlanksAndOddSpellings()
    {
        LanguageTexts t;
        muda_lingua(0, t);
        QCOMPARE(t.frases_recusa[2],
            QString::fromUtf8("Sua pergunta é complicada. Só respondo amanhã. "));
        QCOMPARE(t.frase_pedido, QString::fromUtf8("Responda Oráculo - Por favor, por favor:"));
        muda_lingua(1, t);
        QCOMPARE(t.frases_espera[0], QStringLiteral("I will thing !"));
        muda_lingua(2, t);
        QCOMPARE(t.frase_pergunta, QStringLiteral("make your question"));
        muda_lingua(3, t);
        QCOMPARE(t.frases_recusa[4], QStringLiteral("Mi sueldo es muy bajo. Estoy en huelga "));
    }

    void everyLanguageFillsEverySlotAndLeavesNothingOfTheLast()
    {
        const auto languages = qint16(languageCount());
        for (qint16 first = 0; first < languages; ++first) {
            for (qint16 second = 0; second < languages; ++second) {
                LanguageTexts a, b;
                muda_lingua(first, a);
                muda_lingua(second, a);
                muda_lingua(second, b);
                QCOMPARE(allSlots(a), allSlots(b));
            }
        }
        LanguageTexts t;
        muda_lingua(1, t);
        const QStringList s = allSlots(t);
        QCOMPARE(s.count(QString()), 5); // waiting phrases 6 to 10 stay empty
    }

    void indicesOutsideTheTableChangeNothing()
    {
        LanguageTexts t;
        muda_lingua(9, t);
        muda_lingua(-1, t);
        QVERIFY(t.frase_pergunta.isEmpty() && t.palavras_exit[0].isEmpty());
        muda_lingua(0, t);
        const QStringList before = allSlots(t);
        muda_lingua(qint16(languageCount()), t);
        QCOMPARE(allSlots(t), before);
        QVERIFY(!menuCaptions(qint16(languageCount())));
        QCOMPARE(QString::fromUtf8(menuCaptions(2)->menuArquivoSair), QStringLiteral("Sortie"));
    }

    void everyTableFollowsOneRuleForTheLanguageIndex_data()
    {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<int>("column"); // -1: none
        QTest::newRow("lowest a settings file holds") << -32768 << -1;
        QTest::newRow("just below") << -1 << -1;
        QTest::newRow("Portuguese") << 0 << 0;
        QTest::newRow("English") << 1 << 1;
        QTest::newRow("French") << 2 << 2;
        QTest::newRow("Spanish") << 3 << 3;
        QTest::newRow("German") << 4 << 4;
        QTest::newRow("just above") << 5 << -1;
        QTest::newRow("highest a settings file holds") << 32767 << -1;
    }
    void everyTableFollowsOneRuleForTheLanguageIndex()
    {
        QFETCH(int, lingua);
        QFETCH(int, column);
        const bool known = column >= 0;
        QCOMPARE(languageColumn(lingua).has_value(), known);
        if (known)
            QCOMPARE(int(*languageColumn(lingua)), column);
        QCOMPARE(menuCaptions(qint16(lingua)) != nullptr, known);
        QCOMPARE(widgetDescriptions(qint16(lingua)) != nullptr, known);
        QCOMPARE(voiceWindowTexts(qint16(lingua)) != nullptr, known);
        LanguageTexts t;
        muda_lingua(qint16(lingua), t);
        QCOMPARE(t.frase_pergunta.isEmpty(), !known);
        // The performer's texts have nothing to keep: outside the table they read Portuguese.
        const int shown = known ? column : 0;
        QCOMPARE(&remoteTexts(lingua), &remoteTexts(shown));
        QCOMPARE(&readyAnswers(lingua), &readyAnswers(shown));
    }

    // The texts as written, once: the windows' tests compare with the table.
    void theWindowsTextsAreAsWritten_data()
    {
        QTest::addColumn<int>("lingua");
        // The trial sentence, pitch, speed, question; the voice window's title, the trial box's
        // and the petition box's descriptions.
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Portuguese")
            << 0
            << QStringList { "Eu sou o Oráculo que tudo vê e tudo sabe.", "Tom", "Velocidade",
                   "Como vai você?", "Voz do oráculo", "Frase de ensaio", "Pergunta ao oráculo" };
        QTest::newRow("English") << 1
                                 << QStringList {
                                        "I am the Oracle who sees everything and know everything.",
                                        "Pitch", "Velocity", "How are you?", "The oracle's voice",
                                        "Trial sentence", "Question to the oracle"
                                    };
        QTest::newRow("French shows Pitch as English does")
            << 2
            << QStringList { "Je suis l'oracle qui voient tout et savent tout.", "Pitch", "Vitesse",
                   "Comment alle vouz?", "La voix de l'oracle", "Phrase d'essai",
                   "Question à l'oracle" };
        QTest::newRow("Spanish") << 3
                                 << QStringList { "Soy el oráculo que ve todo y sabe todo.", "Tono",
                                        "Velocidad", "Como estas?", "Voz del oráculo",
                                        "Frase de prueba", "Pregunta al oráculo" };
        QTest::newRow("German") << 4
                                << QStringList {
                                       "Ich bin das Orakel, das alles sieht und alles weiß.",
                                       "Tonhöhe", "Tempo", "Wie geht es dir?",
                                       "Die Stimme des Orakels", "Probesatz", "Frage an das Orakel"
                                   };
    }
    void theWindowsTextsAreAsWritten()
    {
        QFETCH(int, lingua);
        QFETCH(QStringList, texts);
        const VoiceWindowTexts& v = *voiceWindowTexts(qint16(lingua));
        const WidgetDescriptions& d = *widgetDescriptions(qint16(lingua));
        QCOMPARE((QStringList { v.frase, v.tom, v.velocidade, v.pergunta, d.voiceWindowTitle,
                     d.trialSentence, d.petitionBox }),
            texts);
    }

    void theMenusAndTheInvitationAreAsWritten_data()
    {
        QTest::addColumn<int>("lingua");
        // File, Exit, Options, Change voice, Help, About; the language's item and invitation.
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Portuguese") << 0
                                    << QStringList { "Arquivo", "Sair", "Opções", "Mudar voz",
                                           "Ajuda", "Sobre", "Português", "Faça sua pergunta" };
        QTest::newRow("English") << 1
                                 << QStringList { "File", "Exit", "Options", "Change Voice", "Help",
                                        "About", "English", "make your question" };
        QTest::newRow("French") << 2
                                << QStringList { "Arquivo", "Sortie", "Opções", "Changez Voix",
                                       "Ajuda", "Sobre", "Française", "make your question" };
        QTest::newRow("Spanish") << 3
                                 << QStringList { "Arquivo", "Sair", "Opções", "Mudar voz", "Ajuda",
                                        "Sobre", "Español", "haga su pregunta" };
        QTest::newRow("German") << 4
                                << QStringList { "Datei", "Beenden", "Optionen", "Stimme ändern",
                                       "Hilfe", "Über", "Deutsch", "Stell deine Frage" };
        QTest::newRow("as built, and outside the table")
            << -1 << QStringList { "Arquivo", "Sair", "Opções", "Mudar voz", "Help", "Sobre" };
    }
    void theMenusAndTheInvitationAreAsWritten()
    {
        QFETCH(int, lingua);
        QFETCH(QStringList, texts);
        const MenuCaptions& m = lingua < 0 ? kDesignMenuCaptions : *menuCaptions(qint16(lingua));
        QStringList seen { m.menuArquivo, m.menuArquivoSair, m.menuOpcoes, m.menuOpcoesVoz,
            m.menuHelp, m.menuHelpAbout };
        if (lingua >= 0) {
            LanguageTexts t;
            muda_lingua(qint16(lingua), t);
            seen << languageName(std::size_t(lingua)) << t.frase_pergunta;
        }
        QCOMPARE(seen, texts);
    }

    void theDesignTextsStandAsTheWindowsWereLaidOut()
    {
        QCOMPARE(QString::fromUtf8(kDesignMenuCaptions.menuHelp), QStringLiteral("Help"));
        QCOMPARE(QString::fromUtf8(kDesignMenuCaptions.menuOpcoes), QString::fromUtf8("Opções"));
        QCOMPARE(languageName(2), QString::fromUtf8("Française"));
        QCOMPARE(
            QString::fromUtf8(kVoiceWindowDesign.pitchTip), QStringLiteral("Tom  (pitch) da voz"));
        QCOMPARE((QStringList { kVoiceWindowDesign.voices, kVoiceWindowDesign.speak,
                     kVoiceWindowDesign.apply, kVoiceWindowDesign.leave,
                     kVoiceWindowDesign.neutralSentence, kNoVoiceNotice }),
            (QStringList { "Vozes disponíveis", "Falar", "Aplicar", "Sair", "1 2 3 4 5 6 7",
                "Você não tem nenhuma voz instalada. Instale o arquivo de voz que acompanha o "
                "jogo ou busque na Internet por Text-to-Speech Engines" }));
        QCOMPARE(QString::fromUtf8(kStageTexts.petitionTip),
            QStringLiteral("Se quiser um conselho, digite CONSELHO"));
        QCOMPARE(QString::fromUtf8(kIchingTexts.leave), QStringLiteral("Sair"));
    }
};

QTEST_GUILESS_MAIN(TestLanguageTables)
#include "test_language_tables.moc"
