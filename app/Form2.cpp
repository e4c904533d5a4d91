#include "Form2.h"

#include "EsperaFala.h"
#include "LanguageTables.h"
#include "OracleStage.h"
#include "PointerHotSpots.h"
#include "SpeechEngine.h"
#include "StageLook.h"
#include "StageView.h"

#include <QDrag>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTextEdit>
#include <QWindow>

#include <algorithm>
#include <cmath>

const char* const Form2::kMimePauzinho = "application/x-quorvel-pauzinho";

namespace {

const QColor kRed(255, 0, 0);
const QColor kOrange(255, 128, 64);

QString ichingText(const char* IchingTexts::*which)
{
    return QString::fromUtf8(kIchingTexts.*which);
}

using look::pixels;

QFont arial(qreal points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// Black, the colour of menu text in the standard scheme, behind the given text colour.
void paintOnBlack(QWidget* widget, const QColor& textColour)
{
    look::setColour(widget, { QPalette::Window, QPalette::Base }, Qt::black);
    look::setColour(widget, { QPalette::WindowText, QPalette::Text }, textColour);
    widget->setAutoFillBackground(true);
}

QCursor handCursor(
    const char* resource, QPoint tip, Qt::CursorShape fallback, const StageScale& scale)
{
    const QPixmap picture = stagePicture(QString::fromLatin1(resource), scale);
    const QPoint shownTip = scale.toWindow(tip);
    return picture.isNull() ? QCursor(fallback) : QCursor(picture, shownTip.x(), shownTip.y());
}

bool isStick(const QMimeData* data)
{
    return data && data->hasFormat(QString::fromLatin1(Form2::kMimePauzinho));
}

bool isEsc(QEvent* event)
{
    return event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

}

Form2::Form2(OracleStage& stage, Random& random, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_stage(stage)
    , m_tts1(stage.voice())
    , m_casting(random)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(ichingText(&IchingTexts::title));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    m_layout.fit(this, QSize(pixels(9525), pixels(3255)));
    paintOnBlack(this, look::kPaleYellow);
    setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    buildTexts();
    buildExitLabel();
    buildSticks();
    makeHands();
    connect(&m_tts1, &SpeechEngine::word_event, this, &Form2::mostra_palavra);
}

void Form2::buildTexts()
{
    m_Text3 = new QLineEdit(this);
    m_Text3->setObjectName(QStringLiteral("Text3"));
    m_Text3->setAccessibleName(ichingText(&IchingTexts::hexagramName));
    m_layout.place(m_Text3, look::twips(480, 360, 2895, 465));
    m_Text3->setFont(arial(14.25));
    m_Text3->setReadOnly(true);
    paintOnBlack(m_Text3, look::kPaleYellow);
    watch(m_Text3);

    m_Text2 = new QTextEdit(this);
    m_Text2->setObjectName(QStringLiteral("Text2"));
    m_Text2->setAccessibleName(ichingText(&IchingTexts::advice));
    m_layout.place(m_Text2, look::twips(3480, 360, 5535, 2505));
    m_Text2->setFont(arial(15.75));
    m_Text2->setReadOnly(true);
    m_Text2->setAcceptRichText(false);
    paintOnBlack(m_Text2, kRed);
    paintOnBlack(m_Text2->viewport(), kRed);
    m_Text2->viewport()->setMouseTracking(true);
    watch(m_Text2);
    watch(m_Text2->viewport());
}

void Form2::buildExitLabel()
{
    m_Label1 = new QLabel(ichingText(&IchingTexts::leave), this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_layout.place(m_Label1, look::twips(8520, 2880, 855, 375));
    m_Label1->setFont(arial(14.25));
    paintOnBlack(m_Label1, look::kPaleYellow);
    m_Label1->setMouseTracking(true);
    watch(m_Label1);
}

void Form2::buildSticks()
{
    const QString whole = QStringLiteral(":/pictures/stick_whole.png");
    const QString broken = QStringLiteral(":/pictures/stick_broken.png");
    const QSize size(pixels(StickCasting::kLarguraPauzinho), pixels(StickCasting::kAlturaPauzinho));
    for (int i = 0; i < StickCasting::kPauzinhos; ++i) {
        auto* stick = new QLabel(this);
        stick->setObjectName(QStringLiteral("Picture1_%1").arg(i));
        stick->setAccessibleName(ichingText(&IchingTexts::stick));
        m_layout.place(stick, QRect(QPoint(), size), StickCasting::inteiro(i) ? whole : broken);
        // Against the box's left edge: one pixel further right, the last column of a broken
        // stick's gap would lie on the window's edge while the stick is in the bundle. Centred
        // in height, the bar stays clear of the neighbouring sticks' boxes.
        stick->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        paintOnBlack(stick, kOrange);
        stick->setMouseTracking(true);
        stick->setFocusPolicy(Qt::ClickFocus);
        watch(stick);
        m_Picture1.at(static_cast<size_t>(i)) = stick;
    }
}

// Esc on a watched child leaves the window. Qt hands a drop that a child refuses on to its
// parent, where it would count as a drop on the window, so watched children take every stick
// drop and do nothing with it.
void Form2::watch(QWidget* widget)
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

void Form2::Form_Load()
{
    const QPointer<Form2> self(this);
    look::keepOnTop(this);
    setCursor(m_MaoAberta);
    for (QLabel* stick : m_Picture1)
        stick->setCursor(m_MaoAberta);
    m_casting.clearCode();
    espera_fala(m_tts1);
    if (interrupted(self))
        return;
    m_stage.present(*this);
    m_casting.gather();
    placeSticks();
    m_perguntou = false;
    placeWindow();
    m_tts1.speak_text(ichingText(&IchingTexts::opening));
    espera_fala(m_tts1);
    if (interrupted(self))
        return;
    m_consultation.open();
}

void Form2::reopen()
{
    m_consultation.start();
}

void Form2::setScale(const StageScale& scale)
{
    m_layout.setScale(scale);
    makeHands();
    if (isVisible())
        placeWindow();
}

// The hands are as large as the sticks they hold; those already given out are given again.
void Form2::makeHands()
{
    const StageScale& scale = m_layout.scale();
    m_MaoAberta
        = handCursor(":/pictures/hand_open.png", kHandOpenHotSpot, Qt::OpenHandCursor, scale);
    m_MaoFechada
        = handCursor(":/pictures/hand_closed.png", kHandClosedHotSpot, Qt::ClosedHandCursor, scale);
    if (testAttribute(Qt::WA_SetCursor))
        setCursor(m_MaoAberta);
    for (QLabel* stick : m_Picture1) {
        if (stick->testAttribute(Qt::WA_SetCursor))
            stick->setCursor(m_MaoAberta);
    }
}

// 700 twips below the main window's frame, at the stage's scale. The main window's picture
// Left, a pixel count, is taken as a twip count: the window lands near the left edge of the
// stage's screen rather than beside the picture, as it always has.
void Form2::placeWindow()
{
    const OracleStage::Place stage = m_stage.place();
    const int below = m_layout.scale().toWindow(QPoint(0, pixels(700))).y();
    m_stage.placeWindow(
        *this, QPoint(stage.screenLeft + pixels(stage.firstAnimationLeft), stage.frameTop + below));
}

void Form2::mostra_hexagrama()
{
    const QPointer<Form2> self(this);
    m_Text2->clear();
    m_Text3->clear();
    m_consultation.select(m_casting.codigo_lancado());
    m_casting.clearCode();
    m_stage.acende_bola();
    if (interrupted(self))
        return;
    m_perguntou = true;
    m_Text3->setText(m_consultation.name());
    m_Text3->setCursorPosition(0);
    m_tts1.speak_text(m_consultation.advice());
    espera_fala(m_tts1);
    if (interrupted(self))
        return;
    m_casting.gather();
    placeSticks();
}

void Form2::mostra_palavra()
{
    const Consultation::Display display = m_consultation.nextWord();
    if (display == Consultation::Display::Off)
        return;
    if (display == Consultation::Display::Grown)
        m_Text2->setPlainText(m_consultation.revealed());
    m_Text2->repaint();
}

// Esc or "Sair" again while the closing phrase is said says it again. The window closes once,
// when the last of the phrases has ended, and from the outermost call, so that it is never
// deleted under a call still waiting; an Esc after that finds it left.
void Form2::sair()
{
    if (m_saindo && m_closingPhrases == 0)
        return;
    const QPointer<Form2> self(this);
    m_saindo = true;
    ++m_closingPhrases;
    m_tts1.speak_text(m_perguntou ? ichingText(&IchingTexts::afterReading)
                                  : ichingText(&IchingTexts::withoutReading));
    espera_fala(m_tts1);
    if (!self || --m_closingPhrases > 0)
        return;
    m_consultation.close();
    m_stage.returnKeyboard();
    m_perguntou = false;
    setLabel1Colour(look::kPaleYellow);
    close();
}

// A handler that waited may find the window left meanwhile (Esc during the opening phrase or a
// reading); it must then stop, as the window is on its way out.
bool Form2::interrupted(const QPointer<Form2>& self)
{
    return !self || self->m_saindo;
}

void Form2::Picture1_MouseDown(int stick, QPoint grabPoint)
{
    QLabel* picture = Picture1(stick);
    picture->setCursor(m_MaoFechada);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimePauzinho), QByteArray::number(stick));
    auto* drag = new QDrag(picture);
    drag->setMimeData(data);
    drag->setPixmap(picture->grab());
    drag->setHotSpot(grabPoint);
    drag->exec(Qt::MoveAction);
}

void Form2::Form_DragDrop(int stick)
{
    Picture1(stick)->setCursor(m_MaoAberta);
    const bool complete = m_casting.drop(stick);
    placeSticks();
    if (complete)
        mostra_hexagrama();
}

void Form2::placeSticks()
{
    for (int i = 0; i < StickCasting::kPauzinhos; ++i) {
        const QPoint twips = m_casting.posicao(i);
        m_layout.move(Picture1(i), QPoint(pixels(twips.x()), pixels(twips.y())));
    }
}

void Form2::setLabel1Colour(const QColor& colour)
{
    look::setColour(m_Label1, { QPalette::WindowText }, colour);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!isStick(drop->mimeData()))
            return false;
        drop->setDropAction(Qt::IgnoreAction);
        drop->accept();
        return true;
    }
    if (isEsc(event)) {
        sair();
        return true;
    }
    if (watched == m_Label1)
        return filterExitLabel(event);
    if (watched == m_Text2->viewport() && type == QEvent::MouseMove) {
        setLabel1Colour(look::kPaleYellow);
        return false;
    }
    const auto stick = std::find(m_Picture1.begin(), m_Picture1.end(), watched);
    if (stick != m_Picture1.end())
        return filterStick(static_cast<int>(stick - m_Picture1.begin()), event);
    return false;
}

// The label and the sticks keep their mouse events: passed on to the window, a press would
// start moving it and a move would undo the label's highlight.
bool Form2::filterExitLabel(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        setLabel1Colour(kRed);
        return true;
    case QEvent::MouseButtonRelease:
        if (m_Label1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            sair();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

bool Form2::filterStick(int stick, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Picture1_MouseDown(stick, static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseMove:
        Picture1(stick)->setCursor(m_MaoAberta);
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

void Form2::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        sair();
}

void Form2::mousePressEvent(QMouseEvent* event)
{
    m_drag.press(this, event);
}

void Form2::mouseMoveEvent(QMouseEvent* event)
{
    setLabel1Colour(look::kPaleYellow);
    m_drag.move(this, event);
}

void Form2::mouseReleaseEvent(QMouseEvent*)
{
    m_drag.release();
}

void Form2::dragEnterEvent(QDragEnterEvent* event)
{
    if (isStick(event->mimeData()))
        event->acceptProposedAction();
}

void Form2::dragMoveEvent(QDragMoveEvent* event)
{
    if (isStick(event->mimeData()))
        event->acceptProposedAction();
}

void Form2::dropEvent(QDropEvent* event)
{
    if (!isStick(event->mimeData()))
        return;
    event->acceptProposedAction();
    Form_DragDrop(event->mimeData()->data(QString::fromLatin1(kMimePauzinho)).toInt());
}

// The square's one-pixel line, as thick as a design pixel is shown.
void Form2::paintEvent(QPaintEvent*)
{
    const StageScale& scale = m_layout.scale();
    const QRect square = scale.toWindow(look::twips(960, 1080, 2055, 1815));
    const int line = std::max(1, int(std::lround(scale.scale())));
    QPainter painter(this);
    painter.fillRect(square, look::kPaleYellow);
    painter.fillRect(square.adjusted(line, line, -line, -line), Qt::black);
}
