#pragma once

#include "Form1.h"

// The main window with its petition box, face, model and voice in reach of a benchmark.
class BenchForm1 : public Form1 {
public:
    using Form1::Form1;
    using Form1::model;
    using Form1::Picture1;
    using Form1::Text1;
    using Form1::tts1;
};
