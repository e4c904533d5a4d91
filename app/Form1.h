#pragma once

#include "Delivery.h"
#include "LanguageTables.h"
#include "Oracle.h"
#include "OracleStage.h"
#include "Platform.h"
#include "SettingsValues.h"
#include "StageSound.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class Calibrar;
class Form2;
class HotSpot;
class KeyboardKeeper;
class OrbCanvas;
class PetitionBox;
class QAction;
class QEventLoop;
class QLabel;
class QMenu;
class QTimer;
class StageView;
class Timer;

// The oracle's stage. How the pieces fit:
//  - Form_Load reads the settings, applies the language, configures the voice `tts1`, plays
//    the start-up sound and, after a staged 3 s pause, invites a question;
//  - the petition box forwards its keys to the Oracle model, which keeps the hidden answer and
//    decides what a question asks for; an answer's road is walked by Delivery, for which the
//    window is the stage: the real engine, orb, pause and sound, waiting for speech where a
//    step must;
//  - timers, hot spots and the orb dress the stage;
//  - fim and Form_Unload end the program, saving the settings exactly once.
class Form1 : public QMainWindow, public OracleStage, private DeliveryStage {
    Q_OBJECT
public:
    // The stage's clock, in milliseconds.
    static constexpr int kEyeMs = 350; // the eye jumps this often while the operator types
    static constexpr int kBlinkShortMs = 250; // the blink's two intervals, taken in turn
    static constexpr int kBlinkLongMs = 3500;
    static constexpr int kBlinkBeforeLoadMs = 5000; // until loading starts the rhythm
    static constexpr int kOrbRingMs = 50; // each ring of the orb, before the next is drawn

    Form1(SettingsValues& settings, const Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    void Form_Load();
    void troca_idioma(qint16 lingua);
    void fim();

    // The stage, as the windows it opens see it.
    SpeechEngine& voice() override { return *m_tts1; }
    void acende_bola() override;
    void returnKeyboard() override;
    Place place() const override;

    // The operator's next keys go to the petition box.
    void givePetitionKeyboard();

    // The performer's remote answer, armed as if captured at the keyboard.
    void armHiddenAnswer(const QString& answer);
    // The performer's phone: how many hold the page open, and its refuse button.
    void setPhonesListening(int phones);
    void refuseForPhone();
    // Sees the petition box's keys before the trick does (an operator's shortcut).
    void filterPetitionKeys(QObject* filter);

    const Oracle& oracle() const { return m_oracle; }
    const LanguageTexts& texts() const { return m_texts; }

signals:
    void hiddenAnswerDelivered();
    void capturedAnswerReplacedArmed();
    // What the petition box shows the audience, at every change (possibly repeated).
    void petitionShown(const QString& shown);
    // A question is being answered, from Enter to the reset of the box; in the middle the
    // oracle may wait for the phone.
    void questionAsked();
    void phoneWaitChanged(bool waiting);
    void questionAnswered();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Widgets, by the names the handlers use; each carries its name as its object name.
    PetitionBox* Text1 = nullptr;
    OrbCanvas* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    HotSpot* Picture3 = nullptr;
    QLabel* Picture4 = nullptr;
    std::array<HotSpot*, 4> Labels {}; // Label1 .. Label4
    std::array<QLabel*, 7> Gifs {}; // Gif89a1(0), Gif89a1(1), Gif89a2 .. Gif89a6
    Timer* Timer1 = nullptr;
    Timer* Timer2 = nullptr;
    // Shows the stage at the window's scale; the widgets above are placed and moved through it.
    StageView* m_view = nullptr;

    QMenu* menuArquivo = nullptr;
    QAction* menuArquivoSair = nullptr;
    QMenu* menuOpcoes = nullptr;
    QAction* menuOpcoesVoz = nullptr;
    QMenu* menuHelp = nullptr;
    QAction* menuHelpAbout = nullptr;

    void buildStage();
    void buildMenus();
    void showMenuCaptions(const MenuCaptions& legendas);
    void wireHandlers();

    // Petition entry.
    void Text1_KeyDown(int keyCode);
    void Text1_KeyPress(QChar ch);
    void Text1_KeyUp(int keyCode);
    void setText1Colour(const QColor& colour);
    void tellPetitionShown();
    void startWandering();
    void parkEye();

    // Answer delivery: the stage Delivery walks on.
    void speak(const QString& frase) override;
    void waitForSilence() override;
    void lightOrb() override;
    void pause(int ms) override;
    void clearFace() override;
    void showRefusal() override;
    void playSinister() override;
    void resetBox() override;
    qint64 now() override;
    void waitForPhone(qint64 ms) override;
    bool closing() const override;
    void tellAsked() override;
    void tellPhoneWait(bool waiting) override;
    void tellArmedFate(PetitionState::Armed fate) override;
    void tellAnswered() override;
    void wakeFromPhoneWait();

    // Effects.
    void Timer1_Timer();
    void Timer2_Timer();
    void fala_hotspot(Spot spot);
    // One pulse of the orb's rings; stops early once `interrupted` says so.
    void pulseOrb(const std::function<bool()>& interrupted) override;
    // Pulses of the orb's rings, kOrbRingMs apart, the face cleared after each.
    void glowOrb(int pulsos, const std::function<bool()>& interrupted);
    void rearma();

    // Other windows.
    void loadCalibrar();
    void abre_calibrar();
    void showCalibrarKeepingKeyboard();
    void abre_form2();
    void descarrega_outras();

    // Shutdown.
    void fecha_tudo();
    void Form_Unload();

    QString arquivo(const QString& backslashName) const;
    void play(StageSound sound);

    SettingsValues& m_settings;
    Platform m_platform;
    LanguageTexts m_texts;
    // menuOpcoesPortu, menuOpcoesEng, menuOpcoesFran, menuOpcoesEsp, by language index.
    std::array<QAction*, kLanguages> m_languageItems {};
    Oracle m_oracle;
    bool m_carregando = false;
    std::unique_ptr<SpeechEngine> m_tts1;
    QPointer<Calibrar> m_calibrar;
    std::unique_ptr<KeyboardKeeper> m_keyboardKeeper;
    QPointer<Form2> m_form2;
    // The rings of the orb being lit, while they play.
    QTimer* m_orbRings = nullptr;
    bool m_descarregando = false;
    // The wait for the phone, to wake when the phone speaks or the window closes.
    QPointer<QEventLoop> m_phoneLoop;
    Delivery m_delivery { m_oracle, *this };
};
