#include "OperatorWindow.h"

#include "RemoteServer.h"
#include "RemoteTexts.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include <qrencode.h>

#include <memory>

namespace {

constexpr int kQuietZoneModules = 4;
constexpr int kModulePixels = 6;

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}

OperatorWindow::OperatorWindow(const RemoteServer& server, QWidget* parent)
    : QWidget(parent)
{
    const RemoteTexts& texts = remoteTexts(server.language());
    setWindowTitle(texts.operatorTitle);
    // The keyboard belongs to the petition box: the guest types there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    auto* layout = new QVBoxLayout(this);
    if (server.address().isEmpty()) {
        layout->addWidget(wrappedLabel(texts.unavailable, this));
        layout->addWidget(wrappedLabel(server.errorString(), this));
        return;
    }
    m_address = server.address();
    layout->addWidget(wrappedLabel(texts.scanHint, this));
    m_addressLabel = wrappedLabel({}, this);
    m_addressLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_addressLabel);
    m_code = new QLabel(this);
    m_code->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_code);
}

void OperatorWindow::showEvent(QShowEvent* event)
{
    reveal(true);
    QWidget::showEvent(event);
}

void OperatorWindow::hideEvent(QHideEvent* event)
{
    reveal(false);
    QWidget::hideEvent(event);
}

void OperatorWindow::reveal(bool shown)
{
    if (m_address.isEmpty())
        return;
    const QString address = shown ? m_address : QString();
    m_addressLabel->setText(address);
    m_code->setAccessibleName(address);
    m_code->setPixmap(shown ? QPixmap::fromImage(qrCode(m_address, kModulePixels)) : QPixmap());
}

QImage OperatorWindow::qrCode(const QString& text, int moduleSize)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1),
        &QRcode_free);
    if (!code)
        return {};
    const int side = code->width + 2 * kQuietZoneModules;
    QImage image(side, side, QImage::Format_Mono);
    image.fill(1);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // The lowest bit of each byte is the module's colour: 1 is black.
            if (code->data[y * code->width + x] & 1)
                image.setPixel(x + kQuietZoneModules, y + kQuietZoneModules, 0);
        }
    }
    return image.scaled(side * moduleSize, side * moduleSize);
}
