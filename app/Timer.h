#pragma once

#include <QObject>
#include <QTimer>

// A window timer that ticks only while it is enabled AND has a non-zero interval; changing the
// interval of a running timer restarts its count. The handlers switch both independently
// (Enter parks the eye timer at interval 0, a later character only re-enables it).
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(int interval, bool enabled, QObject* parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    int interval() const { return m_interval; }
    void setEnabled(bool enabled);
    void setInterval(int ms);

signals:
    void timeout();

private:
    void apply();

    QTimer m_timer;
    int m_interval;
    bool m_enabled;
};
