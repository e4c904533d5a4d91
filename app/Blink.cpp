#include "Blink.h"

#include "StageTimings.h"
#include "Timer.h"

#include <QLabel>

Blink::Blink(QLabel& crop, QObject* parent)
    : QObject(parent)
    , m_crop(crop)
    , Timer2(new Timer(timing::kBlinkBeforeLoadMs, true, this))
{
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &Timer::timeout, this, &Blink::Timer2_Timer);
}

void Blink::start()
{
    Timer2->setInterval(timing::kBlinkShortMs);
    Timer2->setEnabled(true);
}

void Blink::Timer2_Timer()
{
    const bool wasShort = Timer2->interval() == timing::kBlinkShortMs;
    Timer2->setInterval(wasShort ? timing::kBlinkLongMs : timing::kBlinkShortMs);
    m_crop.setHidden(!m_crop.isHidden());
}

void Blink::hold()
{
    Timer2->setEnabled(false);
    m_crop.show();
}

void Blink::resume()
{
    Timer2->setEnabled(true);
    m_crop.hide();
}
