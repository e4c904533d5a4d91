#pragma once

#include "ScaledLayout.h"
#include "StageLook.h"

#include <QWidget>

#include <array>
#include <memory>

struct SettingsValues;
class OracleStage;
struct WidgetDescriptions;
class SpeechEngine;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

// The voice calibration window: the operator picks a voice, pitch and speed and tries them on
// the window's own engine `tts`. "Aplicar" records the choice in `voz`; "Sair" hands `voz` to the
// oracle's voice `tts1`, gives the keyboard back to an empty petition box and closes (and
// deletes) the window.
// Modeless, topmost, moved by dragging its background; a window of its own, or a panel inside the
// stage (see WindowKinds.h). The main window constructs it, calls Form_Load() once, then shows it.
class Calibrar final : public QWidget {
    Q_OBJECT
public:
    Calibrar(SettingsValues& settings, OracleStage& stage, std::unique_ptr<SpeechEngine> tts,
        QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);
    ~Calibrar() override;

    void Form_Load();
    void Combo1_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void fala();

    SpeechEngine& tts() const { return *m_tts; }

    // Shows the window at the stage's scale; it keeps its design's twips.
    void setScale(const StageScale& scale);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void placeWindow();
    void applyLanguage();
    void describe(const WidgetDescriptions& descriptions);
    void fillVoiceList();
    void fitRange(QScrollBar* bar, int lowest, int highest);
    static void setClamped(QScrollBar* bar, int value);
    void applyBarValue(QScrollBar* bar, QLabel* label, void (SpeechEngine::*apply)(int));

    SettingsValues& m_settings;
    OracleStage& m_stage;
    std::unique_ptr<SpeechEngine> m_tts;

    std::array<QLabel*, 3> m_Label2 {};
    QComboBox* m_Combo1 = nullptr;
    QLabel* m_Label1 = nullptr;
    QScrollBar* m_HScroll1 = nullptr;
    QLabel* m_Label3 = nullptr;
    QScrollBar* m_HScroll2 = nullptr;
    QPlainTextEdit* m_Text1 = nullptr;
    QPushButton* m_Command1 = nullptr;
    QPushButton* m_Command2 = nullptr;
    QPushButton* m_Command3 = nullptr;
    QLabel* m_Image2 = nullptr;
    ScaledLayout m_layout;

    bool m_mudando = false;
    WindowDrag m_drag;
};
