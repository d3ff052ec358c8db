#include "windows/aboutwindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "util/texts.h"
#include "widgets/linklabel.h"
#include "widgets/theme.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

QPixmap badge()
{
    const qreal dpr = 2.0;
    QPixmap pm(QSize(72, 72) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 72);
    g.setColorAt(0, QColor(0x2b, 0x8f, 0xa1));
    g.setColorAt(1, QColor(0x1c, 0x5a, 0x66));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 68, 68), 14, 14);
    for (int i = 0; i < 5; ++i) {
        const qreal h = 12 + i * 8;
        p.setBrush(i < 4 ? QColor(0xe8, 0xf6, 0xf8) : theme::colour(theme::Role::InputB));
        p.drawRoundedRect(QRectF(14 + i * 9.5, 58 - h, 6, h), 2, 2);
    }
    return pm;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : FramedWindow(QStringLiteral("TAcercadeForm"), QString::fromUtf8(t::kAboutCaption), parent)
{
    setModal(true);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(26, 20, 26, 18);
    layout->setSpacing(6);
    auto* top = new QHBoxLayout;
    auto* image = new QLabel(body());
    image->setPixmap(badge());
    top->addWidget(image, 0, Qt::AlignTop);
    top->addSpacing(14);
    auto* texts = new QVBoxLayout;
    auto* version = new QLabel(QString::fromUtf8(t::kAboutVersion), body());
    version->setObjectName(QStringLiteral("VersionL"));
    version->setStyleSheet(QStringLiteral("font-size: 17pt; font-weight: bold; color: #dce2e8;"));
    auto* product = new QLabel(QString::fromUtf8(t::kAboutProduct), body());
    product->setProperty("role", QStringLiteral("dim"));
    auto* build = new QLabel(QString::fromUtf8(t::kAboutBuild) + QString::fromUtf8(KVR_VERSION_TEXT), body());
    build->setObjectName(QStringLiteral("BuildL"));
    build->setProperty("role", QStringLiteral("dim"));
    texts->addWidget(version);
    texts->addWidget(product);
    texts->addSpacing(4);
    texts->addWidget(build);
    top->addLayout(texts, 1);
    layout->addLayout(top);
    layout->addSpacing(12);

    auto* line = new QWidget(body());
    line->setFixedHeight(1);
    line->setStyleSheet(QStringLiteral("background: #3a434d;"));
    layout->addWidget(line);
    layout->addSpacing(8);

    auto* maker = new QLabel(QString::fromUtf8(t::kAboutMaker), body());
    maker->setStyleSheet(QStringLiteral("font-weight: bold;"));
    layout->addWidget(maker);
    auto addLink = [&](const char* caption, const char* name, const QString& text, const QUrl& url) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QString::fromUtf8(caption), body());
        label->setProperty("role", QStringLiteral("dim"));
        label->setFixedWidth(70);
        auto* link = new LinkLabel(text, url, body());
        link->setObjectName(QString::fromUtf8(name));
        connect(link, &LinkLabel::activated, this, [](const QUrl& u) { QDesktopServices::openUrl(u); });
        row->addWidget(label);
        row->addWidget(link, 1);
        layout->addLayout(row);
    };
    addLink(t::kAboutWebCaption, "WebL", QString::fromUtf8(t::kAboutWeb), QUrl(QString::fromUtf8(t::kAboutWeb)));
    addLink(t::kAboutMailCaption, "MailL", QString::fromUtf8(t::kAboutMail),
            QUrl(QStringLiteral("mailto:") + QString::fromUtf8(t::kAboutMail)));
    layout->addSpacing(10);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QString::fromUtf8(t::kOk), body());
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setMinimumWidth(96);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    setFixedWidth(440);
    adjustSize();
}

} // namespace kvr::gui
