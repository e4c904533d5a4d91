#pragma once

class QThread;

// The one thread on which every audio sink of the process lives, so that playback keeps going
// while the user-interface thread is blocked in a pause. Started on first use, stopped when the
// application object goes away.
QThread* audioThread();
