// The windows the main window opens: voice calibration and the I Ching consultation.
#include "Form1.h"

void Form1::abre_calibrar() { }
void Form1::abre_form2() { }
void Form1::tts1_WordEvent() { }
void Form1::descarrega_outras() { }
