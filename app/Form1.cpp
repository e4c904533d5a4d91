#include "Form1.h"

#include "AppFolder.h"
#include "ApplyVoice.h"
#include "EsperaFala.h"
#include "HotSpot.h"
#include "KeyboardKeeper.h"
#include "MouthPictures.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Random.h"
#include "Settings.h"
#include "SoundPlayer.h"
#include "StageClock.h"
#include "StageLook.h"
#include "StageView.h"
#include "Timer.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>

#include <cstdio>

namespace {

using look::twips;

struct GifPlace {
    const char* file;
    QRect rect;
};
const GifPlace kGifs[7] = {
    { "\\GargoyleLeft.gif", twips(120, 1800, 975, 1920) },
    { "\\Candlelight.gif", twips(5280, 120, 1695, 2400) },
    { "\\skullgloweyered.gif", twips(10200, 120, 1695, 2415) },
    { "\\ghostlyskull.gif", twips(8880, 2280, 2040, 1560) },
    { "\\skeletoninhammock.gif", twips(720, 3480, 4695, 4245) },
    { "\\eyesdemonic.gif", twips(360, 7320, 3615, 1245) },
    { "\\reaperattack.gif", twips(6960, 120, 2100, 2220) },
};

const QRect kLabels[4] = {
    twips(0, 3960, 615, 2895),
    twips(4200, 7920, 855, 495),
    twips(10440, 2760, 1095, 855),
    twips(9240, 120, 615, 1935),
};

const char* const kGifNames[7]
    = { "Gif89a1(0)", "Gif89a1(1)", "Gif89a2", "Gif89a3", "Gif89a4", "Gif89a5", "Gif89a6" };

// One per mouth shape, in the order of the shapes.
QStringList mouthPictures()
{
    static_assert(kMouthPictures.size() == mouth::kShapes);
    QStringList pictures;
    for (const char* name : kMouthPictures)
        pictures << QStringLiteral(":/pictures/") + QLatin1String(name);
    return pictures;
}

// Pictures that sit on the stage but are no hot spot: the pointer crossing them must not count
// as crossing the background.
void blockMousePropagation(QWidget* w)
{
    w->setAttribute(Qt::WA_NoMousePropagation);
}

void paintBlack(QWidget* w)
{
    w->setAutoFillBackground(true);
    look::setColour(w, QPalette::Window, Qt::black);
}

}

Form1::Form1(SettingsValues& settings, const Platform& platform, QWidget* parent)
    : QMainWindow(parent)
    , m_settings(settings)
    , m_platform(platform)
    , m_oracle(m_texts, platform.random)
    , m_tts1(platform.newEngine())
{
    setWindowTitle(QString::fromUtf8(kStageTexts.title));
    Timer1 = new Timer(kEyeMs, false, this);
    Timer2 = new Timer(kBlinkBeforeLoadMs, true, this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    buildStage();
    buildMenus();
    resize(StageScale::kStage + QSize(0, menuBar()->sizeHint().height()));
    wireHandlers();
    m_keyboardKeeper = std::make_unique<KeyboardKeeper>(*Text1, [this] { givePetitionKeyboard(); });
}

Form1::~Form1() = default;

void Form1::buildStage()
{
    // The window's whole area is the black stage: in a window of another size (maximised,
    // tiled, full screen) the scene is shown as large as fits, in the middle of it.
    auto* surround = new HotSpot(this);
    paintBlack(surround);
    setCentralWidget(surround);
    connect(surround, &HotSpot::mouseMoved, this, &Form1::rearma);

    auto* stage = new HotSpot(surround);
    stage->setObjectName(QStringLiteral("Form1"));
    paintBlack(stage);
    surround->setMinimumSize(StageScale::kStage * StageScale::kSmallest);
    m_view = new StageView(surround, stage);
    connect(stage, &HotSpot::mouseMoved, this, &Form1::rearma);

    for (int i = 0; i < 7; ++i) {
        Gifs[i] = new QLabel(stage);
        Gifs[i]->setObjectName(QLatin1String(kGifNames[i]));
        m_view->place(Gifs[i], kGifs[i].rect);
        Gifs[i]->setAlignment(Qt::AlignCenter);
        blockMousePropagation(Gifs[i]);
    }

    Picture2 = new QLabel(stage);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    m_view->place(Picture2, twips(240, 0, 5355, 1875), QStringLiteral(":/pictures/banner.png"));
    blockMousePropagation(Picture2);

    Picture1 = new OrbCanvas(stage);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    m_view->place(Picture1, twips(5280, 3840, 6795, 4770));
    Picture1->setPhoto(QStringLiteral(":/pictures/face.jpg"));
    Picture1->setMouths(mouthPictures(), kMouthInFace.topLeft());
    connect(Picture1, &OrbCanvas::mouseMoved, this, &Form1::rearma);
    connect(m_view, &StageView::scaleChanged, Picture1, &OrbCanvas::setScale);

    Picture4 = new QLabel(stage);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    m_view->place(
        Picture4, twips(2310, 1935, 2040, 810), QStringLiteral(":/pictures/face_crop.png"));
    Picture4->hide();
    blockMousePropagation(Picture4);

    // The hot spots are drawn on the stage itself, under every picture: where one overlaps a
    // picture (Label3 and the ghostly skull), the picture takes the pointer.
    for (int i = 0; i < 4; ++i) {
        Labels[i] = new HotSpot(stage);
        Labels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        m_view->place(Labels[i], kLabels[i]);
        Labels[i]->lower();
    }

    // The frame around the petition box is drawn only: the pointer passes through it.
    auto* shape1 = new QFrame(stage);
    shape1->setObjectName(QStringLiteral("Shape1"));
    m_view->place(shape1, twips(1680, 2760, 6855, 495));
    shape1->setStyleSheet(QStringLiteral("QFrame { border: 1px solid rgb(120, 70, 20); }"));
    shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Text1 = new PetitionBox(stage);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QString::fromUtf8(widgetDescriptions(0)->petitionBox));
    m_view->place(Text1, twips(1920, 2850, 6375, 375));
    Text1->setFrame(false);
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    Text1->setFont(font);
    Text1->setToolTip(QString::fromUtf8(kStageTexts.petitionTip));
    QPalette box = Text1->palette();
    box.setColor(QPalette::Base, Qt::black);
    box.setColor(QPalette::Text, look::kPaleYellow);
    box.setColor(QPalette::Highlight, Qt::black);
    box.setColor(QPalette::HighlightedText, Qt::black);
    Text1->setPalette(box);
    blockMousePropagation(Text1);

    Picture3 = new HotSpot(stage);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    m_view->place(Picture3, twips(0, 0, 855, 780));
    Picture3->hide();

    Text1->setFocus();
}

void Form1::buildMenus()
{
    // Dark menus, so the stage stays one dark scene.
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar { background: rgb(14, 9, 6); color: %1; }"
        "QMenuBar::item:selected { background: rgb(70, 36, 14); }"
        "QMenu { background: rgb(20, 12, 8); color: %1; border: 1px solid rgb(90, 50, 20); }"
        "QMenu::item:selected { background: rgb(90, 46, 16); }")
                                 .arg(look::kPaleYellow.name()));
    menuArquivo = menuBar()->addMenu(QString());
    menuArquivoSair = menuArquivo->addAction(QString());
    menuOpcoes = menuBar()->addMenu(QString());
    menuOpcoesVoz = menuOpcoes->addAction(QString());
    menuOpcoes->addSeparator();
    for (std::size_t i = 0; i < kLanguages; ++i) {
        m_languageItems[i] = menuOpcoes->addAction(QString::fromUtf8(kLanguageNames[i]));
        m_languageItems[i]->setCheckable(true);
    }
    menuHelp = menuBar()->addMenu(QString());
    menuHelpAbout = menuHelp->addAction(QString());
    menuArquivo->setObjectName(QStringLiteral("menuArquivo"));
    menuArquivoSair->setObjectName(QStringLiteral("menuArquivoSair"));
    menuOpcoes->setObjectName(QStringLiteral("menuOpcoes"));
    menuOpcoesVoz->setObjectName(QStringLiteral("menuOpcoesVoz"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    menuHelpAbout->setObjectName(QStringLiteral("menuHelpAbout"));
    showMenuCaptions(kDesignMenuCaptions);
}

void Form1::showMenuCaptions(const MenuCaptions& legendas)
{
    menuOpcoesVoz->setText(QString::fromUtf8(legendas.menuOpcoesVoz));
    menuArquivo->setTitle(QString::fromUtf8(legendas.menuArquivo));
    menuArquivoSair->setText(QString::fromUtf8(legendas.menuArquivoSair));
    menuHelp->setTitle(QString::fromUtf8(legendas.menuHelp));
    menuHelpAbout->setText(QString::fromUtf8(legendas.menuHelpAbout));
    menuOpcoes->setTitle(QString::fromUtf8(legendas.menuOpcoes));
}

void Form1::wireHandlers()
{
    Text1->keyDown = [this](int k) { Text1_KeyDown(k); };
    Text1->keyPress = [this](QChar ch) { Text1_KeyPress(ch); };
    Text1->keyUp = [this](int k) { Text1_KeyUp(k); };
    connect(Text1, &QLineEdit::textChanged, this, &Form1::tellPetitionShown);

    connect(Timer1, &Timer::timeout, this, &Form1::Timer1_Timer);
    connect(Timer2, &Timer::timeout, this, &Form1::Timer2_Timer);

    const Spot spots[4] = { Spot::Friend, Spot::Eyes, Spot::Gaze, Spot::Death };
    for (int i = 0; i < 4; ++i)
        connect(Labels[i], &HotSpot::mouseMoved, this, [this, s = spots[i]] { fala_hotspot(s); });
    connect(Picture3, &HotSpot::mouseMoved, this, [this] { fala_hotspot(Spot::Eye); });

    // The face speaks with the oracle's own voice only, never with the voice window's trial.
    connect(m_tts1.get(), &SpeechEngine::mouth_shape, Picture1, &OrbCanvas::showMouth);
    // Speech cut short closes the mouth all the same.
    connect(m_tts1.get(), &SpeechEngine::silenced, Picture1,
        [this] { Picture1->showMouth(MouthShape::Rest); });

    connect(menuArquivoSair, &QAction::triggered, this, &Form1::fim);
    connect(menuOpcoesVoz, &QAction::triggered, this, &Form1::abre_calibrar);
    for (std::size_t i = 0; i < kLanguages; ++i)
        connect(m_languageItems[i], &QAction::triggered, this,
            [this, lingua = qint16(i)] { troca_idioma(lingua); });
}

QString Form1::arquivo(const QString& backslashName) const
{
    return appFile(m_platform.appFolder, backslashName);
}

void Form1::play(StageSound sound)
{
    m_platform.sound.play(arquivo(stageSoundFile(sound)));
}

void Form1::Form_Load()
{
    Text1->setText(QString());
    auto* animations = new StageClock(this);
    animations->setScale(m_view->scale());
    connect(m_view, &StageView::scaleChanged, animations, &StageClock::setScale);
    for (int i = 0; i < 7; ++i)
        animations->play(Gifs[i], arquivo(QLatin1String(kGifs[i].file)));
    animations->play(Picture3, QStringLiteral(":/pictures/eye.gif"));
    Timer2->setInterval(kBlinkShortMs);
    Timer2->setEnabled(true);
    le_ini(m_settings, m_platform.settingsPath);
    m_carregando = true;
    troca_idioma(m_settings.idioma);
    m_carregando = false;
    applyVoice(*m_tts1, m_settings.voz);
    play(StageSound::Sinister);
    m_platform.pause.sleep(3000);
    m_tts1->speak_text(m_texts.frase_pergunta);
}

void Form1::troca_idioma(qint16 lingua)
{
    m_settings.idioma = lingua;
    muda_lingua(lingua, m_texts);
    if (const MenuCaptions* legendas = menuCaptions(lingua)) {
        for (std::size_t i = 0; i < kLanguages; ++i)
            m_languageItems[i]->setChecked(languageColumn(lingua) == i);
        showMenuCaptions(*legendas);
    }
    if (const WidgetDescriptions* descriptions = widgetDescriptions(lingua))
        Text1->setAccessibleName(QString::fromUtf8(descriptions->petitionBox));
    if (!m_carregando)
        showCalibrarKeepingKeyboard();
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

void Form1::fim()
{
    m_tts1->speak_text(m_texts.frase_despedida);
    espera_fala(*m_tts1);
    fecha_tudo();
}

void Form1::fecha_tudo()
{
    // Unloading the main window saves the settings and comes back here once more; that inner
    // pass is the one that ends the process.
    descarrega_outras();
    if (!m_descarregando) {
        Form_Unload();
        return;
    }
    m_platform.endProcess();
}

void Form1::Form_Unload()
{
    if (m_descarregando)
        return;
    m_descarregando = true;
    wakeFromPhoneWait();
    // The one thing the oracle writes: if it cannot, the operator must hear of it.
    if (!salva_ini(m_settings, m_platform.settingsPath))
        std::fprintf(stderr, "quorvel: the settings could not be saved to %s\n",
            qPrintable(m_platform.settingsPath));
    fecha_tudo();
}
