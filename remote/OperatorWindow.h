#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class RemoteServer;

// The operator's pairing window, apart from the stage: the page's address and the same address
// as a QR code for the phone to scan, or why the remote answer is not available. The address
// holds the token: it is in the window, and on the accessibility bus, only while the window is
// shown.
class OperatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit OperatorWindow(const RemoteServer& server, QWidget* parent = nullptr);

    // Black modules on white with a quiet zone; null when the text does not fit a QR code.
    static QImage qrCode(const QString& text, int moduleSize);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void reveal(bool shown);

    QString m_address;
    QLabel* m_addressLabel = nullptr;
    QLabel* m_code = nullptr;
};
