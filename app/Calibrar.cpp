#include "Calibrar.h"

#include "ApplyVoice.h"
#include "LanguageTables.h"
#include "OracleStage.h"
#include "SettingsValues.h"
#include "SpeechEngine.h"
#include "StageLook.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

namespace {

using look::twips;

QString design(const char* VoiceWindowDesign::*which)
{
    return QString::fromUtf8(kVoiceWindowDesign.*which);
}

bool fitsIn16Bits(int value)
{
    return value >= -32768 && value <= 32767;
}

QLabel* makeLabel(QWidget* parent, ScaledLayout& layout, const QString& text, const QRect& rect,
    const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    layout.place(label, rect);
    look::setColour(label, { QPalette::WindowText }, colour);
    return label;
}

QScrollBar* makeBar(QWidget* parent, ScaledLayout& layout, const QRect& rect)
{
    auto* scroll = new QScrollBar(Qt::Horizontal, parent);
    layout.place(scroll, rect);
    scroll->setRange(0, 32767);
    // Only completed changes count: a dragged thumb reports once, when released.
    scroll->setTracking(false);
    return scroll;
}

QPushButton* makeButton(
    QWidget* parent, ScaledLayout& layout, const QString& text, const QRect& rect)
{
    auto* button = new QPushButton(text, parent);
    layout.place(button, rect);
    return button;
}

} // namespace

Calibrar::Calibrar(SettingsValues& settings, OracleStage& stage, std::unique_ptr<SpeechEngine> tts,
    QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_settings(settings)
    , m_stage(stage)
    , m_tts(std::move(tts))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Calibrar"));
    m_layout.fit(this, twips(0, 0, 6585, 3675).size());
    look::setColour(this, { QPalette::Window }, Qt::black);
    setAutoFillBackground(true);
    // The captions were laid out for a small 8-point face; larger ones would be clipped.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    buildControls();
    describe(*widgetDescriptions(0));
}

Calibrar::~Calibrar() = default;

void Calibrar::buildControls()
{
    using Texts = VoiceWindowDesign;
    m_Label2[2]
        = makeLabel(this, m_layout, design(&Texts::voices), twips(450, 435, 1290, 195), Qt::white);
    m_Label2[2]->setToolTip(design(&Texts::voicesTip));
    m_Combo1 = new QComboBox(this);
    m_layout.place(m_Combo1, twips(150, 690, 3405, 315));
    m_Label2[0] = makeLabel(
        this, m_layout, design(&Texts::pitch), twips(420, 1110, 525, 225), look::kPaleYellow);
    m_Label2[0]->setToolTip(design(&Texts::pitchTip));
    m_Label1 = makeLabel(this, m_layout, QString(), twips(2850, 1110, 555, 225), look::kPaleYellow);
    m_HScroll1 = makeBar(this, m_layout, twips(450, 1365, 2895, 255));
    m_Label2[1] = makeLabel(
        this, m_layout, design(&Texts::speed), twips(420, 1830, 885, 225), look::kPaleYellow);
    m_Label2[1]->setToolTip(design(&Texts::speedTip));
    m_Label3 = makeLabel(this, m_layout, QString(), twips(2850, 1815, 555, 225), look::kPaleYellow);
    m_HScroll2 = makeBar(this, m_layout, twips(450, 2085, 2895, 240));
    m_Text1 = new QPlainTextEdit(this);
    m_layout.place(m_Text1, twips(540, 2520, 2085, 855));
    m_Command1 = makeButton(this, m_layout, design(&Texts::speak), twips(2715, 2745, 765, 375));
    m_Command2 = makeButton(this, m_layout, design(&Texts::apply), twips(3675, 2745, 1080, 375));
    m_Command3 = makeButton(this, m_layout, design(&Texts::leave), twips(4980, 2745, 645, 375));
    m_Image2 = new QLabel(this);
    m_layout.place(m_Image2, QRect(twips(3600, 720, 0, 0).topLeft(), QSize(165, 116)),
        QStringLiteral(":/pictures/calibrar_face.png"));

    const std::array<std::pair<QWidget*, const char*>, 13> names { { { m_Label2[0], "Label2_0" },
        { m_Label2[1], "Label2_1" }, { m_Label2[2], "Label2_2" }, { m_Combo1, "Combo1" },
        { m_Label1, "Label1" }, { m_HScroll1, "HScroll1" }, { m_Label3, "Label3" },
        { m_HScroll2, "HScroll2" }, { m_Text1, "Text1" }, { m_Command1, "Command1" },
        { m_Command2, "Command2" }, { m_Command3, "Command3" }, { m_Image2, "Image2" } } };
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));
    // A screen reader names the list and the bars after the captions beside them.
    m_Label2[2]->setBuddy(m_Combo1);
    m_Label2[0]->setBuddy(m_HScroll1);
    m_Label2[1]->setBuddy(m_HScroll2);

    connect(m_Combo1, &QComboBox::activated, this, &Calibrar::Combo1_Click);
    connect(m_HScroll1, &QScrollBar::valueChanged, this, &Calibrar::HScroll1_Change);
    connect(m_HScroll2, &QScrollBar::valueChanged, this, &Calibrar::HScroll2_Change);
    connect(m_Command1, &QPushButton::clicked, this, &Calibrar::Command1_Click);
    connect(m_Command2, &QPushButton::clicked, this, &Calibrar::Command2_Click);
    connect(m_Command3, &QPushButton::clicked, this, &Calibrar::Command3_Click);
}

void Calibrar::Form_Load()
{
    m_mudando = false;
    look::keepOnTop(this);
    applyLanguage();
    placeWindow();
    if (m_tts->voice_count() < 1) {
        QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
            QString::fromUtf8(kNoVoiceNotice), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    fillVoiceList();
    m_Combo1->setCurrentIndex(m_settings.voz[0] - 1);
    Combo1_Click();
    setClamped(m_HScroll1, m_settings.voz[1]);
    setClamped(m_HScroll2, m_settings.voz[2]);
}

// The top left corner of the stage's screen.
void Calibrar::placeWindow()
{
    m_stage.placeWindow(*this, QPoint(m_stage.place().screenLeft, m_stage.place().screenTop));
}

void Calibrar::setScale(const StageScale& scale)
{
    m_layout.setScale(scale);
    if (isVisible())
        placeWindow();
}

void Calibrar::applyLanguage()
{
    m_Text1->setPlainText(design(&VoiceWindowDesign::neutralSentence));
    if (const VoiceWindowTexts* texts = voiceWindowTexts(m_settings.idioma)) {
        m_Text1->setPlainText(QString::fromUtf8(texts->frase));
        m_Label2[0]->setText(QString::fromUtf8(texts->tom));
        m_Label2[1]->setText(QString::fromUtf8(texts->velocidade));
    }
    if (const WidgetDescriptions* descriptions = widgetDescriptions(m_settings.idioma))
        describe(*descriptions);
}

void Calibrar::describe(const WidgetDescriptions& descriptions)
{
    // A panel inside the stage is heard by its name, a window by its title.
    setWindowTitle(QString::fromUtf8(descriptions.voiceWindowTitle));
    setAccessibleName(windowTitle());
    m_Text1->setAccessibleName(QString::fromUtf8(descriptions.trialSentence));
}

void Calibrar::fillVoiceList()
{
    const int total = m_tts->voice_count();
    for (int i = 1; i <= total; ++i) {
        const QString label = m_tts->voice_label(i);
        m_Combo1->addItem(label + QStringLiteral(": ") + m_tts->voice_detail(i), i);
    }
}

void Calibrar::setClamped(QScrollBar* bar, int value)
{
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

void Calibrar::Combo1_Click()
{
    if (m_Combo1->currentIndex() >= 0)
        m_tts->select_voice(m_Combo1->currentData().toInt());
    fitRange(m_HScroll1, m_tts->pitch_min(), m_tts->pitch_max());
    fitRange(m_HScroll2, m_tts->speed_min(), m_tts->speed_max());
}

void Calibrar::fitRange(QScrollBar* bar, int lowest, int highest)
{
    m_mudando = true;
    if (fitsIn16Bits(lowest))
        bar->setMinimum(lowest);
    if (fitsIn16Bits(highest))
        bar->setMaximum(highest);
    m_mudando = false;
    const int span = bar->maximum() - bar->minimum();
    if (fitsIn16Bits(span))
        bar->setValue(int(std::floor(span / 2.0 + bar->minimum())));
}

void Calibrar::HScroll1_Change()
{
    applyBarValue(m_HScroll1, m_Label1, &SpeechEngine::set_pitch);
}

void Calibrar::HScroll2_Change()
{
    applyBarValue(m_HScroll2, m_Label3, &SpeechEngine::set_speed);
}

void Calibrar::applyBarValue(QScrollBar* bar, QLabel* label, void (SpeechEngine::*apply)(int))
{
    if (m_mudando)
        return;
    label->setText(QString::number(bar->value()));
    (m_tts.get()->*apply)(bar->value());
}

void Calibrar::Command1_Click()
{
    fala();
}

void Calibrar::fala()
{
    const QString text = m_Text1->toPlainText();
    const VoiceWindowTexts* texts = voiceWindowTexts(m_settings.idioma);
    const QString question
        = texts ? QString::fromUtf8(texts->pergunta) : design(&VoiceWindowDesign::neutralSentence);
    m_tts->speak_text(text.isEmpty() ? question : text);
}

void Calibrar::Command2_Click()
{
    // With no voice installed the bars hold no choice, only their unset values.
    if (m_Combo1->count() == 0)
        return;
    if (m_Combo1->currentIndex() >= 0)
        m_settings.voz[0] = qint16(m_Combo1->currentData().toInt());
    m_settings.voz[1] = qint16(m_HScroll1->value());
    m_settings.voz[2] = qint16(m_HScroll2->value());
}

void Calibrar::Command3_Click()
{
    applyVoice(m_stage.voice(), m_settings.voz);
    m_stage.returnKeyboard();
    close();
}

void Calibrar::mousePressEvent(QMouseEvent* event)
{
    m_drag.press(this, event);
}

void Calibrar::mouseMoveEvent(QMouseEvent* event)
{
    m_drag.move(this, event);
}

void Calibrar::mouseReleaseEvent(QMouseEvent*)
{
    m_drag.release();
}
