#include "StageLook.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

int look::pixels(int twips)
{
    return qRound(double(twips) / kTwipsPerPixel);
}

QRect look::twips(int left, int top, int width, int height)
{
    return { pixels(left), pixels(top), pixels(width), pixels(height) };
}

void look::setColour(
    QWidget* widget, std::initializer_list<QPalette::ColorRole> roles, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : roles)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

void WindowDrag::press(QWidget* window, QMouseEvent* event)
{
    if (window->windowHandle() && window->windowHandle()->startSystemMove())
        return;
    m_following = true;
    m_grab = event->globalPosition().toPoint() - window->frameGeometry().topLeft();
}

void WindowDrag::move(QWidget* window, QMouseEvent* event)
{
    if (m_following && event->buttons() != Qt::NoButton)
        window->move(event->globalPosition().toPoint() - m_grab);
}

void WindowDrag::release()
{
    m_following = false;
}
