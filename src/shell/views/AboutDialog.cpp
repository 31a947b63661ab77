#include "AboutDialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ConnectProcedure.h"

namespace {

// The picture of the box: the program's name over a few sound waves.
QPixmap Banner() {
    QPixmap pixmap(360, 120);
    pixmap.fill(QColor(0x1c, 0x2a, 0x3a));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(0x1f, 0x7a, 0xc4, 200 - 40 * i), 3));
        p.drawArc(QRectF(20 - 18 * i, 30 - 18 * i, 60 + 36 * i, 60 + 36 * i), -50 * 16, 100 * 16);
    }
    p.setBrush(QColor(0x2e, 0x9e, 0x4f));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(50, 60), 9, 9);
    QFont font = p.font();
    font.setPointSize(30);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(110, 0, 240, 120), Qt::AlignVCenter | Qt::AlignLeft, "Quorvel");
    return pixmap;
}

}  // namespace

CAboutDialog::CAboutDialog(bool splash, QWidget* parent) : QDialog(parent) {
    setObjectName("100");
    setWindowTitle("About Quorvel");
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(Banner());
    layout->addWidget(picture);
    auto* version = new QLabel(QString("Version: %1").arg(QV_EXPECTED_ENGINE_VERSION), this);
    version->setObjectName("1034");
    layout->addWidget(version);
    auto* ok = new QPushButton("Ok", this);
    ok->setObjectName("1");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    if (splash) {
        ok->hide();
        setWindowFlag(Qt::SplashScreen);
        QTimer::singleShot(QV_SPLASH_MILLISECONDS, this, &QDialog::accept);
    }
}
