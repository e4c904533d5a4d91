#pragma once

#include <QByteArray>

// The phone's page with its texts filled in, in the interface language (0 Portuguese,
// 1 English, 2 French, 3 Spanish).
QByteArray remotePage(int language);
