#include "WanderingEye.h"

#include "Random.h"
#include "StageLook.h"
#include "StageTimings.h"
#include "StageView.h"
#include "Timer.h"

#include <QWidget>

WanderingEye::WanderingEye(QWidget& eye, StageView& view, Random& random, QObject* parent)
    : QObject(parent)
    , m_eye(eye)
    , m_view(view)
    , m_random(random)
    , Timer1(new Timer(timing::kEyeMs, false, this))
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &Timer::timeout, this, &WanderingEye::Timer1_Timer);
}

void WanderingEye::Timer1_Timer()
{
    const int x = look::kEyeWanders.left() + m_random.pick(look::kEyeWanders.width());
    const int y = look::kEyeWanders.top() + m_random.pick(look::kEyeWanders.height());
    m_view.move(&m_eye, { x, y });
}

void WanderingEye::startWandering()
{
    Timer1->setInterval(timing::kEyeMs);
    Timer1->setEnabled(true);
    goHome();
}

void WanderingEye::keepWandering()
{
    Timer1->setEnabled(true);
    m_eye.show();
}

void WanderingEye::show()
{
    m_eye.show();
}

void WanderingEye::park()
{
    Timer1->setEnabled(false);
    Timer1->setInterval(0);
    m_view.move(&m_eye, look::kEyeParked);
}

void WanderingEye::goHome()
{
    m_view.move(&m_eye, look::kEyeHome);
}
