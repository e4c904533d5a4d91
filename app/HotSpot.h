#pragma once

#include <QLabel>

// An area (bare, or showing a picture) that reports the pointer passing over it.
class HotSpot : public QLabel {
    Q_OBJECT
public:
    explicit HotSpot(QWidget* parent = nullptr);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};
