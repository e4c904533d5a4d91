#pragma once

#include <QImage>
#include <QWidget>

class RemoteServer;

// The operator's pairing window, apart from the stage: the page's address and the same address
// as a QR code for the phone to scan, or why the remote answer is not available.
class OperatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit OperatorWindow(const RemoteServer& server, QWidget* parent = nullptr);

    // Black modules on white with a quiet zone; null when the text does not fit a QR code.
    static QImage qrCode(const QString& text, int moduleSize);
};
