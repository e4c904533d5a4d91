#pragma once

#include <QByteArray>

// The phone's page with its texts filled in, in the interface language (an index into the
// language table).
QByteArray remotePage(int language);
