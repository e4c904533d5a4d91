#include "HexagramTable.h"

#include <array>

namespace {

struct Hexagrama {
    const char* codigo;
    const char* nome;
    const char* texto;
};

// Entry 0 first: no hexagram.
constexpr std::array<Hexagrama, kHexagramCount + 1> kHexagramas { {
    { "", "", "" },
    { "111111", "CH'IEN - O Criativo",
        "Você tem a força mas deve usa-la com sabedoria. O sucesso estará garantido para aquele "
        "que souber agir criativamente e com senso de justiça. " },
    { "000000", "K'UN - O Receptivo",
        "Seja receptivo e deixe-se conduzir, como a terra que tudo acolhe. A devoção paciente e a "
        "serenidade levarão você ao sucesso. " },
    { "010001", "CHUN - Dificuldade inicial",
        "Todo começo é difícil e cheio de confusão. Não tenha pressa: persevere, organize suas "
        "forças e procure a ajuda de quem pode orientar você. " },
    { "100010", "MENG - A inexperiência",
        "Reconheça o que você ainda não sabe e procure um bom mestre com humildade. Quem pergunta "
        "com sinceridade recebe a resposta. " },
    { "010111", "HSU - A espera",
        "Espere com calma e confiança, pois a chuva virá no tempo certo. Fortaleça-se enquanto "
        "aguarda e não se precipite diante do perigo. " },
    { "111010", "SUNG - O Conflito",
        "Evite a disputa. Mesmo que a razão esteja do seu lado, levar o conflito até o fim traz "
        "infortúnio. Busque um juiz imparcial e ceda a tempo. " },
    { "000010", "SHIH - O Exército",
        "Para vencer você precisa de disciplina e de um líder experiente e justo. Organize suas "
        "forças e só as use por uma causa digna. " },
    { "010000", "PI - A união",
        "Busque a união com as pessoas certas e não demore a se juntar a elas, pois quem chega "
        "tarde fica de fora. Veja se você tem valor para liderar. " },
    { "110111", "HSIAO CH'U - A força do fraco",
        "Ainda não é hora de grandes ações. Com gentileza e pequenos gestos você pode conter o que "
        "é forte. As nuvens se acumulam, mas a chuva ainda não veio. " },
    { "111011", "LU - A conduta",
        "Mesmo pisando na cauda do tigre você não será mordido, se agir com cortesia e boas "
        "maneiras. Saiba qual é o seu lugar e conduza-se com dignidade. " },
    { "000111", "T'AI - A paz",
        "O céu e a terra se encontram e tudo floresce. Aproveite este tempo de harmonia para fazer "
        "o bem e consolidar o que é bom. " },
    { "111000", "PI - A estagnação",
        "Céu e terra não se comunicam e nada avança. Recolha-se, mantenha-se fiel aos seus "
        "princípios e não se deixe seduzir por ofertas vantajosas. " },
    { "111101", "TUNG JÊN - A Fraternidade",
        "Una-se aos outros abertamente, por objetivos que sirvam a todos. A verdadeira "
        "fraternidade não se faz em segredo nem por interesses particulares. " },
    { "101111", "TA YU - A grande força",
        "Apenas aquele que for suave e calmo possuirá a verdadeira força. O sucesso será "
        "luminoso." },
    { "000100", "CH'IEN - A humildade",
        "Seja modesto. A humildade leva os empreendimentos a bom termo: quem se rebaixa é elevado, "
        "e quem é elevado com modéstia brilha ainda mais. " },
    { "001000", "YU - O entusiasmo",
        "O entusiasmo sincero move as pessoas. Inspire quem está à sua volta, mas mantenha os pés "
        "no chão e não se deixe levar pela euforia. " },
    { "011001", "SUI - O seguir",
        "Para ser seguido, aprenda primeiro a seguir. Adapte-se às exigências do momento sem "
        "perder a firmeza de caráter, e não haverá culpa. " },
    { "100110", "KU - A reação",
        "O que foi estragado ainda pode ser reparado. Examine com cuidado as causas do mal, aja "
        "com decisão e vigie para que ele não volte. " },
    { "000011", "LIN - A aproximação",
        "Tempos de prosperidade se aproximam. Aproveite-os com energia e perseverança, mas "
        "lembre-se de que toda primavera um dia termina. " },
    { "110000", "HUAN - A contemplação",
        "Observe com atenção o mundo e a si mesmo antes de agir. Quem contempla com seriedade se "
        "torna um exemplo para os outros. " },
    { "101001", "SHIH HO - A mordida",
        "Há um obstáculo entre você e seu objetivo. Morda com energia: enfrente o problema de "
        "frente e faça justiça sem hesitar. " },
    { "100101", "PI - A beleza",
        "A forma graciosa agrada e ajuda nas pequenas coisas, mas não resolve as grandes. Cuide da "
        "beleza sem esquecer o que é essencial. " },
    { "100000", "PO - A desintegração",
        "Este é um tempo de declínio. Não tente agir agora: aceite a situação com paciência e "
        "espere que a maré mude a seu favor. " },
    { "000001", "FU - O retorno",
        "Depois da escuridão a luz retorna. Deixe que as coisas se renovem no seu próprio ritmo e "
        "volte ao bom caminho sem pressa. " },
    { "111001", "WU WANG - A simplicidade",
        "Aja com inocência e naturalidade, sem segundas intenções. Quem segue o que é reto "
        "encontra o sucesso; quem calcula demais encontra o infortúnio. " },
    { "100111", "TA CH'U - A força do forte",
        "Acumule forças e conhecimentos, aprendendo com as palavras e os feitos do passado. "
        "Contenha sua energia agora para usá-la no momento certo. " },
    { "100001", "I - O alimento",
        "Observe o que você alimenta em si e nos outros. Cuide do corpo e do espírito, e seja "
        "moderado nas palavras, no comer e no beber. " },
    { "011110", "TA KUO - O imperio dos fatos",
        "O peso é grande demais e a viga se curva. Aja sem demora, mas com suavidade e prudência, "
        "pois uma situação extraordinária exige medidas extraordinárias. " },
    { "010010", "K'AN - O abismo",
        "O perigo se repete, mas não perca a coragem. Como a água que corre sem parar, seja "
        "sincero e constante, e você atravessará o abismo. " },
    { "101101", "LI - A luz",
        "Como o fogo que precisa da lenha, você brilha apoiado no que é justo. Cultive a clareza e "
        "a docilidade, e sua luz iluminará os outros. " },
    { "011100", "HSIEN - A atração",
        "Uma influência mútua atrai os corações. Mantenha a mente aberta e receptiva, e deixe que "
        "os outros se aproximem de você. " },
    { "001110", "HENG - A duração",
        "Persevere no caminho escolhido. O que dura não é rígido: mantenha firme a direção e "
        "renove-se com o tempo, como as estações. " },
    { "111100", "TUN - A retirada",
        "As forças contrárias estão crescendo. Retire-se a tempo e com dignidade: recuar agora não "
        "é fraqueza, é sabedoria. " },
    { "001111", "TA CHUANG - O poder",
        "Você tem grande poder, mas use-o somente de acordo com o que é justo. A verdadeira "
        "grandeza sabe esperar e não impõe a sua força. " },
    { "101000", "CHIN - O progresso",
        "Como o sol que se ergue sobre a terra, você avança depressa. Mostre suas qualidades com "
        "clareza e compartilhe o seu sucesso. " },
    { "000101", "MING - O obscurecimento",
        "Em tempos sombrios, esconda a sua luz. Mantenha-se fiel por dentro e cauteloso por fora, "
        "e a adversidade não vencerá você. " },
    { "110101", "CHIA JEN - A familia",
        "Saber viver em família é uma virtude. Todos devem se manter iguais no afeto e no respeito "
        "mútuo. Seja compreensivo e firme." },
    { "101011", "K'UEI - A oposição",
        "Os opostos se afastam. Nas grandes obras isso é um obstáculo, mas nas pequenas você ainda "
        "terá sucesso. Busque o que une sem negar as diferenças. " },
    { "010100", "CHIEN - A obstrução",
        "Há um obstáculo no caminho. Não o enfrente de frente: pare, olhe para dentro de si e "
        "procure a ajuda de pessoas sábias. " },
    { "001010", "HSIEH - A liberação",
        "A tensão se desfaz como depois de uma tempestade. Perdoe os erros, volte à vida normal e "
        "resolva sem demora o que ainda restar. " },
    { "100011", "SUN - A perda",
        "Diminuir também pode trazer proveito. Seja simples, controle a raiva e os desejos e "
        "ofereça com sinceridade mesmo o pouco que tem. " },
    { "110001", "I - O acréscimo",
        "É um tempo de crescimento e de ganhos. Aproveite para empreender algo grande, imitar o "
        "bem que vê nos outros e corrigir os seus defeitos. " },
    { "011111", "KUAI - A decisão",
        "Chegou a hora de uma decisão firme. Declare a verdade abertamente, sem usar a violência, "
        "e afaste com determinação o que é mau. " },
    { "111110", "KUOU - O encontro",
        "Cuidado com uma influência que parece fraca e inofensiva. Não se entregue a ela: o que "
        "começa pequeno pode crescer e dominar você. " },
    { "011000", "TS'UI - A reunião",
        "É tempo de reunir as pessoas em torno de um objetivo comum. Um líder justo e a fé "
        "partilhada trazem força, mas esteja preparado para o imprevisto. " },
    { "000110", "SHENG - A ascensão",
        "Como a planta que brota da terra, você cresce aos poucos. Avance com esforço e "
        "perseverança e busque o apoio de pessoas influentes. " },
    { "011010", "K'UN - A opressão",
        "Você está cercado e esgotado. Mantenha a serenidade e a confiança interior: as palavras "
        "não convencem agora, mas a sua firmeza vencerá. " },
    { "010110", "CHING - O poço",
        "Como o poço que mata a sede de todos, busque a fonte mais profunda. Cuide das suas bases "
        "e não deixe a corda se romper antes de chegar à água. " },
    { "011101", "KO - A revolução",
        "A mudança é necessária, mas só deve ser feita na hora certa e por uma causa justa. Quando "
        "ela vier, as pessoas acreditarão em você. " },
    { "101110", "TING - O caldeirão",
        "Como o caldeirão que prepara o alimento, ofereça o melhor de si aos outros. Cultive o que "
        "é elevado e sua vida encontrará o seu verdadeiro lugar. " },
    { "001001", "CHÊN - O trovão",
        "O trovão assusta, mas passa. Diante do choque, mantenha a calma e examine a si mesmo: "
        "quem conhece o medo sabe depois sorrir e falar. " },
    { "100100", "KÊN - A parada",
        "Aquiete o coração e pare quando for tempo de parar. Mantenha seus pensamentos no momento "
        "presente e a paz interior mostrará o caminho. " },
    { "110100", "CHIEN - O desenvolvimento",
        "Avance passo a passo, como a árvore que cresce na montanha. O que se desenvolve devagar e "
        "com constância cria raízes firmes e dura. " },
    { "001011", "KUEI MEI - A jovem que se casa",
        "Você não está em posição de escolher. Aja com tato e reserva, respeite as regras da "
        "situação e pense no fim de tudo antes de começar. " },
    { "001101", "FENG - A plenitude",
        "Você está no auge. Não se entristeça pensando no declínio: seja como o sol do meio-dia e "
        "ilumine tudo enquanto é tempo. " },
    { "101100", "LÜ - O viajante",
        "Como o viajante em terra estranha, seja cauteloso e reservado. Trate a todos com "
        "amabilidade e não se envolva em disputas que não são suas. " },
    { "110110", "SUN - O vento que penetra",
        "Como o vento que penetra em toda parte, atue com suavidade, mas sem cessar. Tenha um "
        "objetivo claro e a persistência gentil levará você longe. " },
    { "011011", "TUI - A serenidade",
        "A alegria verdadeira vem de dentro. Seja firme por dentro e suave por fora, e compartilhe "
        "com seus amigos o prazer de aprender. " },
    { "110010", "HUAN - A dispersão",
        "O egoísmo separa as pessoas. Dissolva a rigidez do seu coração e una-se aos outros em "
        "torno de algo maior do que você mesmo. " },
    { "010011", "CHIEH - A limitação",
        "Os limites dão forma à vida, mas não devem ser amargos. Economize e imponha-se medidas "
        "justas, sem rigor exagerado consigo ou com os outros. " },
    { "110011", "CHUNG FU - A sinceridade",
        "A verdade interior comove até os corações mais duros. Abra a mente sem preconceitos e "
        "seja sincero em tudo o que fizer. " },
    { "001100", "HSIAO KUO - O avanço do pequeno",
        "Não é hora de grandes feitos. Seja modesto, cuide das pequenas coisas e, como o pássaro, "
        "não voe alto demais: fique perto do chão. " },
    { "010101", "CHI CHI - Após a conclusão",
        "Tudo está em ordem, mas é justamente agora que você deve ser prudente. Depois da "
        "conclusão pode vir a desordem: previna-se enquanto é tempo. " },
    { "101010", "WEI CHI - Antes da conclusão",
        "A obra ainda não está terminada. Aja com cuidado e reflexão, como a raposa que atravessa "
        "o gelo, e ponha cada coisa em seu devido lugar. " },
} };

const Hexagrama& hexagrama(int index)
{
    Q_ASSERT(index >= 0 && index <= kHexagramCount);
    return kHexagramas[static_cast<size_t>(index)];
}

}

QString iching_codigo(int index)
{
    return QString::fromUtf8(hexagrama(index).codigo);
}

QString iching_nome(int index)
{
    return QString::fromUtf8(hexagrama(index).nome);
}

QString iching_texto(int index)
{
    return QString::fromUtf8(hexagrama(index).texto);
}

int findHexagram(const QString& codigo)
{
    for (int i = 1; i <= kHexagramCount; ++i) {
        if (iching_codigo(i) == codigo)
            return i;
    }
    return 0;
}
