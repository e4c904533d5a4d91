#include "Form1.h"

#include "AppFolder.h"
#include "ApplyVoice.h"
#include "Blink.h"
#include "EsperaFala.h"
#include "HotSpot.h"
#include "KeyboardKeeper.h"
#include "MouthPictures.h"
#include "Orb.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Settings.h"
#include "SpeakingSpots.h"
#include "StageAnimation.h"
#include "StageClock.h"
#include "StageDelivery.h"
#include "StageLook.h"
#include "StagePrefetch.h"
#include "StageTimings.h"
#include "StageView.h"
#include "WanderingEye.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// Every widget of the stage and its design position (left, top, width, height, in twips), in
// the order they are built: a widget built later lies over those built before it.
struct DesignPlace {
    std::string_view name;
    int left, top, width, height;
};
constexpr DesignPlace kDesignPlaces[] = {
    { "Gif89a1(0)", 120, 1800, 975, 1920 },
    { "Gif89a1(1)", 5280, 120, 1695, 2400 },
    { "Gif89a2", 10200, 120, 1695, 2415 },
    { "Gif89a3", 8880, 2280, 2040, 1560 },
    { "Gif89a4", 720, 3480, 4695, 4245 },
    { "Gif89a5", 360, 7320, 3615, 1245 },
    { "Gif89a6", 6960, 120, 2100, 2220 },
    { "Picture2", 240, 0, 5355, 1875 },
    { "Picture1", 5280, 3840, 6795, 4770 },
    { "Picture4", 2310, 1935, 2040, 810 },
    { "Label1", 0, 3960, 615, 2895 },
    { "Label2", 4200, 7920, 855, 495 },
    { "Label3", 10440, 2760, 1095, 855 },
    { "Label4", 9240, 120, 615, 1935 },
    { "Shape1", 1680, 2760, 6855, 495 },
    { "Text1", 1920, 2850, 6375, 375 },
    { "Picture3", 0, 0, 855, 780 },
};

// The animations, each with the file its player is given at start-up.
struct GifFile {
    const char* name;
    const char* file;
};
constexpr GifFile kGifs[7] = {
    { "Gif89a1(0)", "\\GargoyleLeft.gif" },
    { "Gif89a1(1)", "\\Candlelight.gif" },
    { "Gif89a2", "\\skullgloweyered.gif" },
    { "Gif89a3", "\\ghostlyskull.gif" },
    { "Gif89a4", "\\skeletoninhammock.gif" },
    { "Gif89a5", "\\eyesdemonic.gif" },
    { "Gif89a6", "\\reaperattack.gif" },
};

// The stage's still pictures, and the wandering eye's animation.
const QString kBanner = QStringLiteral(":/pictures/banner.png");
const QString kFace = QStringLiteral(":/pictures/face.jpg");
const QString kFaceCrop = QStringLiteral(":/pictures/face_crop.png");
const QString kEye = QStringLiteral(":/pictures/eye.gif");

// A widget's design position, in stage pixels.
QRect designPlace(std::string_view name)
{
    const auto place = std::find_if(std::begin(kDesignPlaces), std::end(kDesignPlaces),
        [name](const DesignPlace& p) { return p.name == name; });
    Q_ASSERT(place != std::end(kDesignPlaces));
    return look::twips(place->left, place->top, place->width, place->height);
}

template <typename Widget> Widget* named(QWidget* stage, std::string_view name)
{
    auto* widget = new Widget(stage);
    widget->setObjectName(QLatin1String(name.data(), qsizetype(name.size())));
    return widget;
}

// A widget of the stage, named and placed as the design table has it.
template <typename Widget> Widget* onStage(StageView& view, QWidget* stage, std::string_view name)
{
    auto* widget = named<Widget>(stage, name);
    view.place(widget, designPlace(name));
    return widget;
}

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
    look::setColour(w, { QPalette::Window }, Qt::black);
}

QLabel* pictureOnStage(
    StageView& view, QWidget* stage, std::string_view name, const QString& picture)
{
    auto* label = named<QLabel>(stage, name);
    view.place(label, designPlace(name), picture);
    blockMousePropagation(label);
    return label;
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
    buildStage();
    buildMenus();
    resize(StageScale::kStage + QSize(0, menuBar()->sizeHint().height()));
    buildEffects();
    wireHandlers();
    m_keyboardKeeper
        = std::make_unique<KeyboardKeeper>(*m_Text1, [this] { givePetitionKeyboard(); });
}

Form1::~Form1() = default;

void Form1::buildStage()
{
    // The window's whole area is the black stage: in a window of another size (maximised,
    // tiled, full screen) the scene is shown as large as fits, in the middle of it.
    auto* surround = new HotSpot(this);
    paintBlack(surround);
    setCentralWidget(surround);

    auto* stage = new HotSpot(surround);
    stage->setObjectName(QStringLiteral("Form1"));
    paintBlack(stage);
    surround->setMinimumSize(StageScale::kStage * StageScale::kSmallest);
    m_view = new StageView(surround, stage);

    for (std::size_t i = 0; i < m_Gifs.size(); ++i) {
        m_Gifs[i] = onStage<QLabel>(*m_view, stage, kGifs[i].name);
        m_Gifs[i]->setAlignment(Qt::AlignCenter);
        blockMousePropagation(m_Gifs[i]);
    }
    m_Picture2 = pictureOnStage(*m_view, stage, "Picture2", kBanner);
    m_Picture1 = onStage<OrbCanvas>(*m_view, stage, "Picture1");
    m_Picture1->setPhoto(kFace);
    m_Picture1->setMouths(mouthPictures(), kMouthInFace.topLeft());
    connect(m_view, &StageView::scaleChanged, m_Picture1, &OrbCanvas::setScale);
    m_Picture4 = pictureOnStage(*m_view, stage, "Picture4", kFaceCrop);
    m_Picture4->hide();

    // The hot spots are drawn on the stage itself, under every picture: where one overlaps a
    // picture (Label3 and the ghostly skull), the picture takes the pointer.
    for (std::size_t i = 0; i < m_Labels.size(); ++i) {
        m_Labels[i] = onStage<HotSpot>(*m_view, stage, "Label" + std::to_string(i + 1));
        m_Labels[i]->lower();
    }

    // The frame around the petition box is drawn only: the pointer passes through it.
    auto* shape1 = onStage<QFrame>(*m_view, stage, "Shape1");
    shape1->setStyleSheet(QStringLiteral("QFrame { border: 1px solid rgb(120, 70, 20); }"));
    shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    buildPetitionBox(stage);

    m_Picture3 = onStage<HotSpot>(*m_view, stage, "Picture3");
    m_Picture3->hide();

    m_Text1->setFocus();
}

void Form1::buildPetitionBox(QWidget* stage)
{
    m_Text1 = onStage<PetitionBox>(*m_view, stage, "Text1");
    m_Text1->setAccessibleName(QString::fromUtf8(widgetDescriptions(0)->petitionBox));
    m_Text1->setFrame(false);
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    m_Text1->setFont(font);
    m_Text1->setToolTip(QString::fromUtf8(kStageTexts.petitionTip));
    look::setColour(
        m_Text1, { QPalette::Base, QPalette::Highlight, QPalette::HighlightedText }, Qt::black);
    look::setColour(m_Text1, { QPalette::Text }, look::kPaleYellow);
    blockMousePropagation(m_Text1);
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
    m_menuArquivo = menuBar()->addMenu(QString());
    m_menuArquivoSair = m_menuArquivo->addAction(QString());
    m_menuOpcoes = menuBar()->addMenu(QString());
    m_menuOpcoesVoz = m_menuOpcoes->addAction(QString());
    m_menuOpcoes->addSeparator();
    for (std::size_t i = 0; i < languageCount(); ++i) {
        m_languageItems << m_menuOpcoes->addAction(languageName(i));
        m_languageItems.last()->setCheckable(true);
    }
    m_menuHelp = menuBar()->addMenu(QString());
    m_menuHelpAbout = m_menuHelp->addAction(QString());
    m_menuArquivo->setObjectName(QStringLiteral("menuArquivo"));
    m_menuArquivoSair->setObjectName(QStringLiteral("menuArquivoSair"));
    m_menuOpcoes->setObjectName(QStringLiteral("menuOpcoes"));
    m_menuOpcoesVoz->setObjectName(QStringLiteral("menuOpcoesVoz"));
    m_menuHelp->setObjectName(QStringLiteral("menuHelp"));
    m_menuHelpAbout->setObjectName(QStringLiteral("menuHelpAbout"));
    showMenuCaptions(kDesignMenuCaptions);
}

void Form1::showMenuCaptions(const MenuCaptions& captions)
{
    m_menuOpcoesVoz->setText(QString::fromUtf8(captions.menuOpcoesVoz));
    m_menuArquivo->setTitle(QString::fromUtf8(captions.menuArquivo));
    m_menuArquivoSair->setText(QString::fromUtf8(captions.menuArquivoSair));
    m_menuHelp->setTitle(QString::fromUtf8(captions.menuHelp));
    m_menuHelpAbout->setText(QString::fromUtf8(captions.menuHelpAbout));
    m_menuOpcoes->setTitle(QString::fromUtf8(captions.menuOpcoes));
}

void Form1::buildEffects()
{
    m_eye = new WanderingEye(*m_Picture3, *m_view, m_platform.random, this);
    m_blink = new Blink(*m_Picture4, this);
    m_orb = new Orb(*m_Picture1, *m_blink, m_platform.random, m_platform.pause, this);
    m_spots = new SpeakingSpots(m_oracle, *m_tts1, this);
    m_delivery = new StageDelivery(
        m_oracle, m_platform, { *m_tts1, *m_orb, *m_blink, *m_eye, *m_Text1 }, this);
}

void Form1::wireHandlers()
{
    m_Text1->keyDown = [this](int k) { Text1_KeyDown(k); };
    m_Text1->keyPress = [this](QChar ch) { Text1_KeyPress(ch); };
    m_Text1->keyUp = [this](int k) { Text1_KeyUp(k); };
    connect(m_Text1, &QLineEdit::textChanged, this, &Form1::tellPetitionShown);

    const Spot spots[4] = { Spot::Friend, Spot::Eyes, Spot::Gaze, Spot::Death };
    for (std::size_t i = 0; i < m_Labels.size(); ++i)
        m_spots->speaks(m_Labels[i], spots[i]);
    m_spots->speaks(m_Picture3, Spot::Eye);
    m_spots->rearmsOn(static_cast<HotSpot*>(centralWidget()));
    m_spots->rearmsOn(static_cast<HotSpot*>(m_Picture1->parentWidget()));
    m_spots->rearmsOn(m_Picture1);

    // The face speaks with the oracle's own voice only, never with the voice window's trial.
    connect(m_tts1.get(), &SpeechEngine::mouth_shape, m_Picture1, &OrbCanvas::showMouth);
    // Speech cut short closes the mouth all the same.
    connect(m_tts1.get(), &SpeechEngine::silenced, m_Picture1,
        [this] { m_Picture1->showMouth(MouthShape::Rest); });

    connect(m_delivery, &StageDelivery::asked, this, &Form1::questionAsked);
    connect(m_delivery, &StageDelivery::phoneWaitChanged, this, &Form1::phoneWaitChanged);
    connect(m_delivery, &StageDelivery::armedAnswerSpoken, this, &Form1::hiddenAnswerDelivered);
    connect(
        m_delivery, &StageDelivery::armedAnswerDropped, this, &Form1::capturedAnswerReplacedArmed);
    connect(m_delivery, &StageDelivery::answered, this, &Form1::questionAnswered);

    connect(m_menuArquivoSair, &QAction::triggered, this, &Form1::fim);
    connect(m_menuOpcoesVoz, &QAction::triggered, this, &Form1::abre_calibrar);
    for (qsizetype i = 0; i < m_languageItems.size(); ++i)
        connect(m_languageItems[i], &QAction::triggered, this,
            [this, lingua = qint16(i)] { troca_idioma(lingua); });
}

void Form1::prepareFor(const StageScale& scale)
{
    QStringList animations { kEye };
    for (const GifFile& gif : kGifs)
        animations << appFile(m_platform.appFolder, QLatin1String(gif.file));
    prefetch::start(scale, { kBanner, kFace, kFaceCrop }, animations);
}

void Form1::Form_Load()
{
    m_Text1->setText(QString());
    auto* animations = new StageClock(this);
    animations->setScale(m_view->scale());
    connect(m_view, &StageView::scaleChanged, animations, &StageClock::setScale);
    for (std::size_t i = 0; i < m_Gifs.size(); ++i)
        animations->play(m_Gifs[i], appFile(m_platform.appFolder, QLatin1String(kGifs[i].file)));
    animations->play(m_Picture3, kEye);
    m_blink->start();
    le_ini(m_settings, m_platform.settingsPath);
    m_carregando = true;
    troca_idioma(m_settings.idioma);
    m_carregando = false;
    applyVoice(*m_tts1, m_settings.voz);
    m_platform.play(StageSound::Sinister);
    m_platform.pause.sleep(timing::kStartUpPauseMs);
    m_tts1->speak_text(m_texts.frase_pergunta);
}

void Form1::troca_idioma(qint16 lingua)
{
    m_settings.idioma = lingua;
    muda_lingua(lingua, m_texts);
    if (const MenuCaptions* captions = menuCaptions(lingua)) {
        for (qsizetype i = 0; i < m_languageItems.size(); ++i)
            m_languageItems[i]->setChecked(languageColumn(lingua) == std::size_t(i));
        showMenuCaptions(*captions);
    }
    if (const WidgetDescriptions* descriptions = widgetDescriptions(lingua))
        m_Text1->setAccessibleName(QString::fromUtf8(descriptions->petitionBox));
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
    m_delivery->close();
    // The one thing the oracle writes: if it cannot, the operator must hear of it.
    if (!salva_ini(m_settings, m_platform.settingsPath))
        std::fprintf(stderr, "quorvel: the settings could not be saved to %s\n",
            qPrintable(m_platform.settingsPath));
    fecha_tudo();
}
