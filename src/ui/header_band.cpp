#include "ui/header_band.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>

#include "core/pages/printer_page.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kBandHeight = 64;
constexpr int kModelPixels = 28;
constexpr int kConnectionPixels = 18;
constexpr int kConnectionIndent = 18;

QFont HeaderFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

HeaderBand::HeaderBand(const QString& optionsLabel, QWidget* parent) : QWidget(parent) {
    setFixedHeight(kBandHeight);
    options_ = new QPushButton(optionsLabel, this);
    connect(options_, &QPushButton::clicked, this, &HeaderBand::optionsClicked);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 0, 12, 0);
    layout->addStretch(1);
    layout->addWidget(options_, 0, Qt::AlignVCenter);
}

void HeaderBand::SetHeaderText(const std::string& text) {
    const HeaderText header = SplitHeaderText(text);
    model_ = ToQt(header.model);
    connection_ = ToQt(header.connection);
    update();
}

void HeaderBand::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    QLinearGradient fill(0, 0, width(), 0);
    fill.setColorAt(0, QColor(0x24, 0x4f, 0x86));
    fill.setColorAt(1, QColor(0x3a, 0x73, 0xb8));
    p.fillRect(rect(), fill);

    const int textRight = options_->geometry().left() - 12;
    const int left = 16;
    p.setPen(Qt::white);
    p.setFont(HeaderFont(kModelPixels, true));
    const QFontMetrics modelMetrics(p.font());
    const int modelTop = 4;
    p.drawText(QRect(left, modelTop, textRight - left, modelMetrics.height()),
               Qt::AlignLeft | Qt::AlignVCenter,
               modelMetrics.elidedText(model_, Qt::ElideRight, textRight - left));

    p.setPen(QColor(0xdd, 0xe8, 0xf6));
    p.setFont(HeaderFont(kConnectionPixels, false));
    const QFontMetrics connectionMetrics(p.font());
    const int connectionLeft = left + kConnectionIndent;
    const int connectionTop = modelTop + modelMetrics.height() - 2;
    p.drawText(
        QRect(connectionLeft, connectionTop, textRight - connectionLeft,
              connectionMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        connectionMetrics.elidedText(connection_, Qt::ElideRight, textRight - connectionLeft));
}

}  // namespace rvq::ui
