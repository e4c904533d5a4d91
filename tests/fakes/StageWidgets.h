#pragma once

#include "Calibrar.h"
#include "Form1.h"
#include "Form2.h"
#include "HotSpot.h"
#include "OrbCanvas.h"
#include "PetitionBox.h"
#include "Timer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>

#include <array>

// The main window's widgets and timers, found as any tool finds them: by the object names the
// window gives them. The other windows are found among the top-level windows, while loaded.
struct StageWidgets {
    PetitionBox* Text1 = nullptr;
    OrbCanvas* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    HotSpot* Picture3 = nullptr;
    QLabel* Picture4 = nullptr;
    std::array<HotSpot*, 4> Labels {};
    std::array<QLabel*, 7> Gifs {};
    Timer* Timer1 = nullptr;
    Timer* Timer2 = nullptr;
    QMenu* menuArquivo = nullptr;
    QAction* menuArquivoSair = nullptr;
    QMenu* menuOpcoes = nullptr;
    QAction* menuOpcoesVoz = nullptr;
    QMenu* menuHelp = nullptr;
    QAction* menuHelpAbout = nullptr;

    StageWidgets() = default;
    explicit StageWidgets(Form1& form)
    {
        find(form, Text1, "Text1");
        find(form, Picture1, "Picture1");
        find(form, Picture2, "Picture2");
        find(form, Picture3, "Picture3");
        find(form, Picture4, "Picture4");
        for (std::size_t i = 0; i < Labels.size(); ++i)
            find(form, Labels[i], QStringLiteral("Label%1").arg(i + 1));
        const char* const gifs[7]
            = { "Gif89a1(0)", "Gif89a1(1)", "Gif89a2", "Gif89a3", "Gif89a4", "Gif89a5", "Gif89a6" };
        for (std::size_t i = 0; i < Gifs.size(); ++i)
            find(form, Gifs[i], QLatin1String(gifs[i]));
        find(form, Timer1, "Timer1");
        find(form, Timer2, "Timer2");
        find(form, menuArquivo, "menuArquivo");
        find(form, menuArquivoSair, "menuArquivoSair");
        find(form, menuOpcoes, "menuOpcoes");
        find(form, menuOpcoesVoz, "menuOpcoesVoz");
        find(form, menuHelp, "menuHelp");
        find(form, menuHelpAbout, "menuHelpAbout");
    }

    // The voice window and the consultation, while loaded: windows, or panels inside the stage.
    static QPointer<Calibrar> calibrar() { return window<Calibrar>(); }
    static QPointer<Form2> form2() { return window<Form2>(); }

private:
    template <typename T> static void find(Form1& form, T*& found, const QString& name)
    {
        found = form.findChild<T*>(name);
        if (!found)
            qFatal("the main window has no %s", qPrintable(name));
    }
    template <typename T> static QPointer<T> window()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<T*>(w))
                return found;
            if (auto* panel = w->findChild<T*>())
                return panel;
        }
        return nullptr;
    }
};
