#pragma once

#include "LanguageTables.h"
#include "Oracle.h"
#include "OracleStage.h"
#include "Platform.h"
#include "SettingsValues.h"
#include "StageScale.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class Blink;
class Calibrar;
class Form2;
class HotSpot;
class KeyboardKeeper;
class Orb;
class OrbCanvas;
class PetitionBox;
class QAction;
class QLabel;
class QMenu;
class SpeakingSpots;
class StageDelivery;
class StageView;
class WanderingEye;

// The oracle's stage. It builds the widgets and wires them; what happens is elsewhere:
//  - Form_Load reads the settings, applies the language, configures the voice `tts1`, plays
//    the start-up sound and, after a staged pause, invites a question;
//  - the petition box forwards its keys to the Oracle model, which keeps the hidden answer and
//    decides what a question asks for; an answer's road is walked by Delivery on the
//    StageDelivery, which plays it with the real engine, orb, pause and sound;
//  - the eye (WanderingEye), the blinking face (Blink), the orb (Orb) and the hot spots
//    (SpeakingSpots) dress the stage;
//  - fim and Form_Unload end the program, saving the settings exactly once.
class Form1 : public QMainWindow, public OracleStage {
    Q_OBJECT
public:
    Form1(SettingsValues& settings, const Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Starts decoding, on another thread while Form_Load's pause runs, the pictures the stage
    // will show at `scale` (see prefetch).
    void prepareFor(const StageScale& scale);
    void Form_Load();
    void troca_idioma(qint16 lingua);
    void fim();

    // The stage, as the windows it opens see it.
    SpeechEngine& voice() override { return *m_tts1; }
    void acende_bola() override;
    void returnKeyboard() override;
    Place place() const override;
    void placeWindow(QWidget& window, const QPoint& wanted) override;
    void present(QWidget& window) override;

    // The operator's next keys go to the petition box.
    void givePetitionKeyboard();

    // The performer's remote answer, armed as if captured at the keyboard.
    void armHiddenAnswer(const QString& answer);
    // The performer's phone: how many hold the page open, and its refuse button.
    void setPhonesListening(int phones);
    void refuseForPhone();
    // Sees the petition box's keys before the trick does (an operator's shortcut).
    void filterPetitionKeys(QObject* filter);

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
    // Widgets, by the names the handlers use; each carries that name (without m_) as its
    // object name.
    PetitionBox* m_Text1 = nullptr;
    OrbCanvas* m_Picture1 = nullptr;
    QLabel* m_Picture2 = nullptr;
    HotSpot* m_Picture3 = nullptr;
    QLabel* m_Picture4 = nullptr;
    std::array<HotSpot*, 4> m_Labels {}; // Label1 .. Label4
    std::array<QLabel*, 7> m_Gifs {}; // Gif89a1(0), Gif89a1(1), Gif89a2 .. Gif89a6
    // Shows the stage at the window's scale; the widgets above are placed and moved through it.
    StageView* m_view = nullptr;

    QMenu* m_menuArquivo = nullptr;
    QAction* m_menuArquivoSair = nullptr;
    QMenu* m_menuOpcoes = nullptr;
    QAction* m_menuOpcoesVoz = nullptr;
    QMenu* m_menuHelp = nullptr;
    QAction* m_menuHelpAbout = nullptr;

    void buildStage();
    void buildPetitionBox(QWidget* stage);
    void buildMenus();
    void showMenuCaptions(const MenuCaptions& captions);
    void buildEffects();
    void wireHandlers();

    // Petition entry.
    void Text1_KeyDown(int keyCode);
    void Text1_KeyPress(QChar ch);
    void Text1_KeyUp(int keyCode);
    void setText1Colour(const QColor& colour);
    void tellPetitionShown();

    // Other windows.
    void loadCalibrar();
    void abre_calibrar();
    void showCalibrarKeepingKeyboard();
    void abre_form2();
    void descarrega_outras();
    QWidget* parentFor(bool panel) const;

    // Shutdown.
    void fecha_tudo();
    void Form_Unload();

    SettingsValues& m_settings;
    Platform m_platform;
    LanguageTexts m_texts;
    // menuOpcoesPortu, menuOpcoesEng, menuOpcoesFran, menuOpcoesEsp and German's, by index.
    QList<QAction*> m_languageItems;
    Oracle m_oracle;
    bool m_carregando = false;
    std::unique_ptr<SpeechEngine> m_tts1;
    QPointer<Calibrar> m_calibrar;
    std::unique_ptr<KeyboardKeeper> m_keyboardKeeper;
    QPointer<Form2> m_form2;
    bool m_descarregando = false;
    WanderingEye* m_eye = nullptr;
    Blink* m_blink = nullptr;
    Orb* m_orb = nullptr;
    SpeakingSpots* m_spots = nullptr;
    StageDelivery* m_delivery = nullptr;
};
